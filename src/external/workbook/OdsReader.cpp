#include "external/workbook/OdsReader.h"

#include "external/workbook/OdsContentParser.h"
#include "external/workbook/SheetBuilder.h"
#include "external/workbook/WorkbookErrors.h"
#include "external/workbook/ZipPackage.h"
#include "platform/AppError.h"

namespace {
constexpr unsigned long long kMaxContentPart = 1024ull * 1024 * 1024;
constexpr unsigned long long kMaxManifest = 16ull * 1024 * 1024;
} // namespace

SheetData OdsReader::readFirstSheet(const ZipPackage &package, const ReadLimits &limits)
{
    // A password-protected document lists its encrypted parts in the manifest; their
    // bytes would only read as damaged XML.
    const qint64 manifest = package.find("META-INF/manifest.xml");
    if (manifest >= 0 && package.read(manifest, kMaxManifest).find("encryption-data") != std::string::npos)
        throw WorkbookErrors::encrypted(package.path());
    const qint64 content = package.find("content.xml");
    if (content < 0)
        throw WorkbookErrors::notAWorkbook(package.path());
    SheetBuilder sheet(package.path(), limits);
    OdsContentParser parser(sheet);
    XmlStream::parse(package, content, kMaxContentPart, parser);
    return sheet.take();
}
