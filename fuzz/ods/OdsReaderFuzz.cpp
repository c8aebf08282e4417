// libFuzzer harness for the .ods reader: any bytes must give a sheet or an AppError,
// never a crash, a hang or an allocation out of proportion to the input.
#include "FuzzInput.h"
#include "WorkbookTestZip.h"
#include "core/AppError.h"
#include "workbook/OdsReader.h"
#include "workbook/ZipPackage.h"

#include <QByteArray>

namespace {

const QString kName = QStringLiteral("fuzz.ods");

QString outcome(const QByteArray &package, unsigned long long splitFrom)
{
    try {
        const ReadLimits limits{65536, 16384};
        const SheetData sheet = OdsReader::readFirstSheet(ZipPackage(package, kName), limits, splitFrom);
        QString all = QString::number(sheet.rowCount());
        for (int r = 1; r <= sheet.rowCount(); ++r)
            for (int c = 1; c <= 64; ++c) {
                const CellValue &v = sheet.at(r, c);
                if (v.type != CellValue::Type::Empty)
                    all += QStringLiteral("|%1,%2,%3,%4,%5").arg(r).arg(c).arg(int(v.type)).arg(v.number).arg(v.text);
            }
        return all;
    } catch (const AppError &e) {
        return QStringLiteral("error ") + e.description();
    }
}

void compareParts(const QByteArray &package)
{
    if (outcome(package, 0) != outcome(package, ~0ull))
        __builtin_trap();
}

} // namespace

// The first byte chooses: even, the rest is the file as it is; odd, the rest is the
// content part of an otherwise sound package, so that mutations reach the XML handler.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const QByteArray rest(reinterpret_cast<const char *>(data) + 1, static_cast<qsizetype>(size - 1));
    const QByteArray package = (data[0] & 1) == 0 ? rest
                                                  : WorkbookTestZip::build(
                                                      {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
                                                       {"content.xml", rest}});
    if (package.isEmpty())
        return 0;
    try {
        (void)FuzzInput::touch(OdsReader::readFirstSheet(ZipPackage(package, kName), ReadLimits{65536, 16384}));
    } catch (const AppError &) {
    }
    // Big sheets are read in two parts: whatever the bytes, that must give what one parse gives.
    if (data[0] & 2)
        compareParts(package);
    return 0;
}
