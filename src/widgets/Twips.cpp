#include "widgets/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace Twips {
namespace {
double dpiX(const QWidget *w)
{
    if (w)
        return w->logicalDpiX();
    const QScreen *s = QGuiApplication::primaryScreen();
    return s ? s->logicalDotsPerInchX() : 96.0;
}

double dpiY(const QWidget *w)
{
    if (w)
        return w->logicalDpiY();
    const QScreen *s = QGuiApplication::primaryScreen();
    return s ? s->logicalDotsPerInchY() : 96.0;
}
} // namespace

int toPixelsX(int twips, const QWidget *widget)
{
    return static_cast<int>(std::lround(twips * dpiX(widget) / 1440.0));
}

int toPixelsY(int twips, const QWidget *widget)
{
    return static_cast<int>(std::lround(twips * dpiY(widget) / 1440.0));
}

int fromPixelsX(int pixels, const QWidget *widget)
{
    return static_cast<int>(std::lround(pixels * 1440.0 / dpiX(widget)));
}

int fromPixelsY(int pixels, const QWidget *widget)
{
    return static_cast<int>(std::lround(pixels * 1440.0 / dpiY(widget)));
}
} // namespace Twips
