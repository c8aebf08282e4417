#include "RelayCommand.h"

#include "LatencyRelay.h"

#include <QTextStream>
#include <QThread>
#include <csignal>

namespace {
volatile std::sig_atomic_t g_parar = 0;

void parar(int)
{
    g_parar = 1;
}
} // namespace

int RelayCommand::run(const QStringList &arguments)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    bool okPort = false;
    bool okMs = false;
    bool okSeconds = true;
    const int port = arguments.value(0).toInt(&okPort);
    const double ms = arguments.value(1).toDouble(&okMs);
    const int seconds = arguments.size() > 2 ? arguments[2].toInt(&okSeconds) : 3600;
    if (!okPort || !okMs || !okSeconds || port <= 0 || port > 65535 || ms < 0 || seconds <= 0) {
        err << "usage: sorvanta-bench relay PORT MS [SECONDS]\n";
        return 2;
    }
    LatencyRelay relay(static_cast<std::uint16_t>(port), static_cast<int>(ms * 500), seconds);
    if (!relay.puerto()) {
        err << "the relay could not start\n";
        return 1;
    }
    std::signal(SIGTERM, parar);
    std::signal(SIGINT, parar);
    out << relay.puerto() << Qt::endl;
    for (int i = 0; i < seconds * 10 && !g_parar; ++i)
        QThread::msleep(100);
    return 0;
}
