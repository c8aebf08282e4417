#pragma once

#include <QWidget>
#include <functional>

// Acts on the next modal widget once it shows: call before the code that opens it
// (a QDialog::exec() that would otherwise block the test).
namespace ModalDriver {

// action receives the modal widget. Gives up (and fails the running test) after timeoutMs.
void onNextModal(std::function<void(QWidget *modal)> action, int timeoutMs = 5000);

} // namespace ModalDriver
