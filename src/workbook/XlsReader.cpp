#include "workbook/XlsReader.h"

#include "core/AppError.h"
#include "workbook/BiffSheetReader.h"
#include "workbook/BiffWorkbookGlobals.h"
#include "workbook/CompoundFile.h"
#include "workbook/WorkbookErrors.h"
#include "workbook/XlsFileError.h"

#include <QFile>
#include <algorithm>
#include <new>

namespace {
// Far beyond any real .xls: a stray huge file is refused before anything is read.
constexpr qint64 kMaxFileSize = qint64(1) << 30;
// A BIFF cell address holds at most 65,536 rows and 256 columns.
constexpr int kMaxRows = 65536;
constexpr int kMaxColumns = 256;
constexpr quint8 kWorksheetType = 0;

// The file open for reading; only the sectors the workbook needs are read from it.
void openFile(QFile &file, const QString &path)
{
    if (!file.exists())
        throw WorkbookErrors::missing(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw WorkbookErrors::cannotRead(path);
    if (file.size() > kMaxFileSize)
        throw WorkbookErrors::tooLarge(path);
}

// The workbook stream of the container and the BIFF version its name implies.
QByteArray workbookStream(const CompoundFile &container, int &biff)
{
    biff = 8;
    QByteArray stream = container.stream(QStringLiteral("Workbook"));
    if (stream.isEmpty()) {
        biff = 5;
        stream = container.stream(QStringLiteral("Book"));
    }
    if (stream.isEmpty()) {
        // An encrypted OOXML package travels in a compound file with this stream.
        if (container.hasStream(QStringLiteral("EncryptionInfo")))
            throw XlsFileError(XlsFileError::Kind::Encrypted, "encrypted package");
        throw XlsFileError::notAWorkbook("no workbook stream");
    }
    return stream;
}

std::size_t firstSheetOffset(const BiffWorkbookGlobals &globals)
{
    // Worksheets(1): the first worksheet in workbook order, hidden or not; chart sheets
    // and macro sheets are not worksheets.
    for (const auto &sheet : globals.sheets()) {
        if (sheet.type == kWorksheetType)
            return sheet.offset;
    }
    return globals.sheets().empty() ? globals.endOffset() : globals.sheets().front().offset;
}

SheetData readWorkbook(QFile &file, const ReadLimits &limits)
{
    const CompoundFile container(file);
    int biff = 8;
    const QByteArray stream = workbookStream(container, biff);
    const BiffWorkbookGlobals globals(stream, biff);
    ReadLimits clamped = limits;
    clamped.maxRows = std::min(clamped.maxRows, kMaxRows);
    clamped.maxColumns = std::min(clamped.maxColumns, kMaxColumns);
    BiffSheetReader reader(stream, globals);
    const std::size_t offset = firstSheetOffset(globals);
    try {
        return reader.read(offset, clamped);
    } catch (const XlsFileError &) {
        // Some writers get the sheet offset wrong; the first sheet follows the globals.
        if (offset == globals.endOffset())
            throw;
        return reader.read(globals.endOffset(), clamped);
    }
}
} // namespace

SheetData XlsReader::readFirstSheet(const QString &path, const ReadLimits &limits)
{
    QFile file(path);
    openFile(file, path);
    try {
        return readWorkbook(file, limits);
    } catch (const XlsFileError &e) {
        switch (e.kind()) {
        case XlsFileError::Kind::Encrypted:
            throw WorkbookErrors::encrypted(path);
        case XlsFileError::Kind::NotAWorkbook:
            throw WorkbookErrors::notAWorkbook(path);
        case XlsFileError::Kind::Damaged:
            break;
        }
        throw WorkbookErrors::damaged(path);
    } catch (const std::bad_alloc &) {
        throw WorkbookErrors::damaged(path);
    }
}
