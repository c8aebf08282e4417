#include "external/workbook/XlsxReader.h"

#include "external/workbook/SheetBuilder.h"
#include "external/workbook/XlsxParts.h"
#include "external/workbook/XlsxSharedStrings.h"
#include "external/workbook/XlsxSheetParser.h"
#include "external/workbook/XlsxStyles.h"
#include "external/workbook/ZipPackage.h"

namespace {
// Far beyond any real sheet of 65,536 rows; only time is spent on it, never memory.
constexpr unsigned long long kMaxSheetPart = 1024ull * 1024 * 1024;
} // namespace

SheetData XlsxReader::readFirstSheet(const ZipPackage &package, const ReadLimits &limits)
{
    const XlsxParts parts(package);
    const XlsxStyles styles = parts.styles() >= 0 ? XlsxStyles(package, parts.styles()) : XlsxStyles();
    const XlsxSharedStrings strings = parts.sharedStrings() >= 0 ? XlsxSharedStrings(package, parts.sharedStrings())
                                                                 : XlsxSharedStrings();
    SheetBuilder sheet(package.path(), limits);
    XlsxSheetParser parser(sheet, strings, styles, parts.date1904());
    XmlStream::parse(package, parts.sheet(), kMaxSheetPart, parser);
    return sheet.take();
}
