// libFuzzer harness for the .xlsx reader: any bytes must give a sheet or an AppError,
// never a crash, a hang or an allocation out of proportion to the input.
#include "FuzzInput.h"
#include "WorkbookTestZip.h"
#include "core/AppError.h"
#include "workbook/XlsxReader.h"
#include "workbook/ZipPackage.h"

#include <QByteArray>

namespace {

const QByteArray kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const QByteArray kRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

QByteArray rels(const QByteArray &items)
{
    return "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" + items
           + "</Relationships>";
}

QByteArray rel(const char *id, const char *type, const char *target)
{
    return QByteArray("<Relationship Id=\"") + id + "\" Type=\"" + kRel + '/' + type + "\" Target=\"" + target + "\"/>";
}

// A sound package around fuzzed parts, so that mutations reach the XML handlers: the
// bytes are split at the first two NULs into sheet, shared strings and styles.
QByteArray buildPackage(const QByteArray &bytes)
{
    const QList<QByteArray> pieces = bytes.split('\0');
    WorkbookTestZip::Parts parts{
        {"_rels/.rels", rels(rel("rId1", "officeDocument", "xl/workbook.xml"))},
        {"xl/workbook.xml", "<workbook xmlns=\"" + kMain + "\" xmlns:r=\"" + kRel
                                + "\"><sheets><sheet name=\"a\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         rels(rel("rId1", "worksheet", "worksheets/sheet1.xml") + rel("rId2", "sharedStrings", "sharedStrings.xml")
              + rel("rId3", "styles", "styles.xml"))},
        {"xl/worksheets/sheet1.xml", pieces.value(0)},
        {"xl/sharedStrings.xml", pieces.size() > 1 ? pieces.at(1) : QByteArray("<sst/>")},
        {"xl/styles.xml", pieces.size() > 2 ? pieces.at(2) : QByteArray("<styleSheet/>")},
    };
    return WorkbookTestZip::build(parts);
}

} // namespace

// The first byte chooses: even, the rest is the file as it is; odd, the rest is the parts.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const QByteArray rest(reinterpret_cast<const char *>(data) + 1, static_cast<qsizetype>(size - 1));
    const QByteArray package = (data[0] & 1) == 0 ? rest : buildPackage(rest);
    if (package.isEmpty())
        return 0;
    try {
        (void)FuzzInput::touch(
            XlsxReader::readFirstSheet(ZipPackage(package, QStringLiteral("fuzz.xlsx")), ReadLimits{65536, 16384}));
    } catch (const AppError &) {
    }
    return 0;
}
