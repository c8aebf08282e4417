#include "widgets/MsgBox.h"

#include "core/VersionInfo.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace MsgBox {
namespace {
Handler &currentHandler()
{
    static Handler handler;
    return handler;
}

QuestionHandler &currentQuestionHandler()
{
    static QuestionHandler handler;
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

bool ask(const QString &text, bool defaultYes, const QString &title)
{
    const QString shownTitle = title.isEmpty() ? appTitle() : title;
    if (currentQuestionHandler())
        return currentQuestionHandler()(text, defaultYes, shownTitle);
    QMessageBox box(QMessageBox::Question, shownTitle, text, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    // The program loads no translation of Qt's own buttons.
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Sí"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&No"));
    box.setDefaultButton(defaultYes ? QMessageBox::Yes : QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    box.setWindowIconText(text);
    return box.exec() == QMessageBox::Yes;
}

void setHandler(Handler handler)
{
    currentHandler() = std::move(handler);
}

void setQuestionHandler(QuestionHandler handler)
{
    currentQuestionHandler() = std::move(handler);
}

} // namespace MsgBox
