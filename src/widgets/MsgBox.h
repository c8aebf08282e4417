#pragma once

#include <QString>
#include <functional>

class QWidget;

// The one place that shows a message box. Every box has only an OK button.
namespace MsgBox {

enum class Icon { None, Critical, Exclamation, Information };

// Title used when a message gives none of its own.
QString appTitle();

// Shows the box modally and returns when the operator closed it. An empty title
// means the application title.
void show(const QString &text, Icon icon = Icon::None, const QString &title = QString());

// Tests (and the unattended benchmark) replace the real box; pass an empty function
// to restore it.
using Handler = std::function<void(const QString &text, Icon icon, const QString &title)>;
void setHandler(Handler handler);

} // namespace MsgBox
