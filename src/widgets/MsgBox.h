#pragma once

#include <QString>
#include <functional>

class QWidget;

// The one place that shows a message box. Every box has only an OK button, but a question's,
// which has Sí and No.
namespace MsgBox {

enum class Icon { None, Critical, Exclamation, Information };

// Title used when a message gives none of its own.
QString appTitle();

// Shows the box modally and returns when the operator closed it. An empty title
// means the application title.
void show(const QString &text, Icon icon = Icon::None, const QString &title = QString());

// Asks modally, with the question icon; true when the operator answered Sí. Enter answers
// what `defaultYes` says, Escape and closing the box answer No.
bool ask(const QString &text, bool defaultYes = false, const QString &title = QString());

// Tests (and the unattended benchmark) replace the real box; pass an empty function
// to restore it.
using Handler = std::function<void(const QString &text, Icon icon, const QString &title)>;
void setHandler(Handler handler);
// The same for questions: the handler gives the answer.
using QuestionHandler = std::function<bool(const QString &text, bool defaultYes, const QString &title)>;
void setQuestionHandler(QuestionHandler handler);

} // namespace MsgBox
