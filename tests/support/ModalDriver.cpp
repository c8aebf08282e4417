#include "ModalDriver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <memory>

namespace ModalDriver {
namespace {
void poll(std::shared_ptr<QElapsedTimer> clock, std::function<void(QWidget *)> action, int timeoutMs)
{
    QWidget *modal = QApplication::activeModalWidget();
    if (modal && modal->isVisible())
        action(modal);
    else if (clock->elapsed() > timeoutMs)
        qWarning("ModalDriver: no modal widget appeared within %d ms", timeoutMs);
    else
        QTimer::singleShot(10, [=] { poll(clock, action, timeoutMs); });
}
} // namespace

void onNextModal(std::function<void(QWidget *modal)> action, int timeoutMs)
{
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QTimer::singleShot(0, [=] { poll(clock, action, timeoutMs); });
}
} // namespace ModalDriver
