#include "ModalDriver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <memory>

namespace ModalDriver {
namespace {
void poll(std::shared_ptr<QElapsedTimer> clock, const QWidget *previous, std::function<void(QWidget *)> action,
          int timeoutMs)
{
    QWidget *modal = QApplication::activeModalWidget();
    if (modal && modal != previous && modal->isVisible())
        action(modal);
    else if (clock->elapsed() > timeoutMs)
        qWarning("ModalDriver: no modal widget appeared within %d ms", timeoutMs);
    else
        QTimer::singleShot(10, [=] { poll(clock, previous, action, timeoutMs); });
}
} // namespace

void onNextModal(std::function<void(QWidget *modal)> action, int timeoutMs)
{
    onNextModalOtherThan(nullptr, std::move(action), timeoutMs);
}

void onNextModalOtherThan(const QWidget *previous, std::function<void(QWidget *modal)> action, int timeoutMs)
{
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QTimer::singleShot(0, [=] { poll(clock, previous, action, timeoutMs); });
}
} // namespace ModalDriver
