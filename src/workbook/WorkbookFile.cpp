#include "workbook/WorkbookFile.h"

#include "core/AppError.h"
#include "workbook/CsvReader.h"
#include "workbook/OdsReader.h"
#include "workbook/WorkbookErrors.h"
#include "workbook/XlsReader.h"
#include "workbook/XlsxReader.h"
#include "workbook/ZipPackage.h"

#include <QFile>
#include <QFileInfo>
#include <QStringConverter>

namespace {

const QByteArray kZipMagic("PK\x03\x04", 4);
const QByteArray kEmptyZipMagic("PK\x05\x06", 4);
const QByteArray kCompoundMagic("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);

struct Extension {
    const char *name;
    bool text;
};

// What the readers take, by the names files of each format usually carry (the format
// itself is told by content).
constexpr Extension kReadable[] = {
    {"xls", false}, {"xlsx", false}, {"xlsm", false}, {"ods", false},  {"csv", true},
    {"txt", true},  {"xlt", false},  {"xltx", false}, {"xltm", false}, {"ots", false},
};

// Extensions that promise a binary workbook: such a file that turns out to be text is
// refused rather than read as CSV. No reader takes .xlsb, but it is no text either.
bool hasWorkbookExtension(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("xlsb"))
        return true;
    for (const Extension &e : kReadable) {
        if (!e.text && suffix == QLatin1String(e.name))
            return true;
    }
    return false;
}

// An encrypted OOXML package is a compound file with an "EncryptionInfo" stream; its
// directory entry names are UTF-16LE, found by a plain scan.
bool hasEncryptionInfo(QFile &file)
{
    static const QByteArray kName = [] {
        QByteArray name;
        for (char c : QByteArrayLiteral("EncryptionInfo")) {
            if (c == 0)
                break;
            name.append(c).append('\0');
        }
        return name;
    }();
    constexpr qint64 kChunk = 1 << 20;
    file.seek(0);
    QByteArray tail;
    while (!file.atEnd()) {
        const QByteArray chunk = tail + file.read(kChunk);
        if (chunk.size() == tail.size())
            break;
        if (chunk.contains(kName))
            return true;
        tail = chunk.right(kName.size());
    }
    return false;
}

bool looksLikeText(const QByteArray &head)
{
    // UTF-16 and UTF-32 text is told by its byte-order mark; NUL bytes never appear in
    // text of the 8-bit encodings read as CSV.
    const auto unicode = QStringConverter::encodingForData(head);
    return (unicode && *unicode != QStringConverter::Utf8) || !head.contains('\0');
}

WorkbookFile::Format zipFormat(const ZipPackage &package)
{
    const qint64 mimetype = package.find("mimetype");
    if (mimetype >= 0) {
        const std::string type = package.read(mimetype, 4096);
        if (type.rfind("application/vnd.oasis.opendocument", 0) == 0)
            return WorkbookFile::Format::Ods;
    }
    if (package.find("[Content_Types].xml") < 0 && package.find("content.xml") >= 0)
        return WorkbookFile::Format::Ods;
    return WorkbookFile::Format::Xlsx;
}

} // namespace

const QStringList &WorkbookFile::readableExtensions()
{
    static const QStringList extensions = [] {
        QStringList names;
        for (const Extension &e : kReadable)
            names << QLatin1String(e.name);
        return names;
    }();
    return extensions;
}

WorkbookFile::Format WorkbookFile::detect(const QString &path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile())
        throw QFileInfo::exists(path) ? WorkbookErrors::cannotRead(path) : WorkbookErrors::missing(path);
    if (!file.open(QIODevice::ReadOnly))
        throw WorkbookErrors::cannotRead(path);
    const QByteArray head = file.read(4096);
    if (head.startsWith(kZipMagic) || head.startsWith(kEmptyZipMagic)) {
        const ZipPackage package(path);
        return zipFormat(package);
    }
    if (head.startsWith(kCompoundMagic))
        return hasEncryptionInfo(file) ? Format::EncryptedOoxml : Format::Xls;
    if (hasWorkbookExtension(path) || !looksLikeText(head))
        return Format::Unknown;
    return Format::Csv;
}

SheetData WorkbookFile::readFirstSheet(const QString &path, const ReadLimits &limits)
{
    switch (detect(path)) {
    case Format::Xlsx:
        return XlsxReader::readFirstSheet(ZipPackage(path), limits);
    case Format::Ods:
        return OdsReader::readFirstSheet(ZipPackage(path), limits);
    case Format::Xls:
        return XlsReader::readFirstSheet(path, limits);
    case Format::EncryptedOoxml:
        throw WorkbookErrors::encrypted(path);
    case Format::Csv:
        return CsvReader::readFirstSheet(path, limits);
    case Format::Unknown:
        break;
    }
    throw WorkbookErrors::notAWorkbook(path);
}
