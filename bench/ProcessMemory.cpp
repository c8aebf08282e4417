#include "ProcessMemory.h"

#include <QFile>
#include <QString>

namespace ProcessMemory {
namespace {
qint64 statusField(const char *name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray prefix = QByteArray(name) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}
} // namespace

qint64 residentKiB()
{
    return statusField("VmRSS");
}

qint64 peakResidentKiB()
{
    return statusField("VmHWM");
}
} // namespace ProcessMemory
