// libFuzzer harness for the CSV reader: any bytes must give a sheet or an AppError,
// never a crash, a hang or an allocation out of proportion to the input.
#include "FuzzInput.h"
#include "core/AppError.h"
#include "workbook/CsvReader.h"

#include <QByteArray>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    try {
        (void)FuzzInput::touch(CsvReader::parse(QStringLiteral("fuzz.csv"), bytes, ReadLimits{65536, 16384}));
    } catch (const AppError &) {
    }
    return 0;
}
