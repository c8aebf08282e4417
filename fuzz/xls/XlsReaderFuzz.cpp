// libFuzzer harness for the .xls reader: any bytes must give a sheet or an AppError,
// never a crash, a hang or an allocation out of proportion to the input.
#include "XlsTestFiles.h"
#include "external/workbook/XlsReader.h"
#include "platform/AppError.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <unistd.h>

namespace {
QString inputPath()
{
    // One file per fuzzing process, in memory-backed storage when there is some.
    const char *dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return QStringLiteral("%1/sorvanta-xls-fuzz-%2.xls").arg(QString::fromLatin1(dir)).arg(getpid());
}

// The first byte chooses: even, the rest is the file as it is; odd, the rest is a BIFF stream
// put into a sound container, so that mutations reach the record reader.
QByteArray fileBytes(const uint8_t *data, size_t size)
{
    const QByteArray rest(reinterpret_cast<const char *>(data) + 1, static_cast<qsizetype>(size - 1));
    if ((data[0] & 1) == 0)
        return rest;
    const QString name = (data[0] & 2) ? QStringLiteral("Book") : QStringLiteral("Workbook");
    return XlsTestFiles::compoundFile({{name, rest}}).bytes;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString path = inputPath();
    if (size < 1)
        return 0;
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(fileBytes(data, size));
    }
    try {
        const SheetData sheet = XlsReader::readFirstSheet(path);
        // Touch what was read so that a bad cell shows up here.
        qsizetype chars = 0;
        for (int r = 1; r <= sheet.rowCount(); ++r)
            chars += sheet.at(r, 1).text.size();
        (void)chars;
    } catch (const AppError &) {
    }
    return 0;
}
