// libFuzzer harness for the .xls reader: any bytes must give a sheet or an AppError,
// never a crash, a hang or an allocation out of proportion to the input.
#include "FuzzInput.h"
#include "XlsTestFiles.h"
#include "core/AppError.h"
#include "workbook/XlsReader.h"

#include <QByteArray>
#include <QString>

namespace {
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
    static const QString path = FuzzInput::path("xls");
    if (size < 1)
        return 0;
    if (!FuzzInput::write(path, fileBytes(data, size)))
        return 0;
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
