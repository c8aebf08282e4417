#include "widgets/MsgBox.h"

#include "core/VersionInfo.h"

#include <QApplication>
#include <QMessageBox>

namespace MsgBox {
namespace {
Handler &currentHandler()
{
    static Handler handler;
    return handler;
}

QMessageBox::Icon toQt(Icon icon)
{
    switch (icon) {
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::Exclamation:
        return QMessageBox::Warning;
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

QString appTitle()
{
    return VersionInfo::appTitle();
}

void show(const QString &text, Icon icon, const QString &title)
{
    const QString shownTitle = title.isEmpty() ? appTitle() : title;
    if (currentHandler()) {
        currentHandler()(text, icon, shownTitle);
        return;
    }
    QMessageBox box(toQt(icon), shownTitle, text, QMessageBox::Ok, QApplication::activeWindow());
    // Listed or minimized, a box still says what it says (its title is the program's).
    box.setWindowIconText(text);
    box.exec();
}

void setHandler(Handler handler)
{
    currentHandler() = std::move(handler);
}

} // namespace MsgBox
