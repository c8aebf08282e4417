#include "workbook/XlsxReader.h"

#include "workbook/SheetBuilder.h"
#include "workbook/XlsxParts.h"
#include "workbook/XlsxSharedStrings.h"
#include "workbook/XlsxSheetParser.h"
#include "workbook/XlsxStyles.h"
#include "workbook/ZipPackage.h"

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
