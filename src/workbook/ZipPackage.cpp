#include "workbook/ZipPackage.h"

#include "core/AppError.h"
#include "workbook/WorkbookErrors.h"
#include "workbook/ZipReadAhead.h"

#include <QFile>
#include <algorithm>
#include <memory>
#include <vector>
#include <zip.h>

namespace {

// A part whose directory entry says it is this small is inflated on the calling thread: a
// reading thread of its own would cost more than it hides.
constexpr quint64 kReadHereBelow = 64 * 1024;

ZipReadAhead::Failure readHere(zip_file_t *file, quint64 declared, quint64 maxBytes,
                               const std::function<bool(const char *, std::size_t)> &sink)
{
    // Most parts come out in one read; a part bigger than declared comes in 4 KiB steps at least.
    std::vector<char> chunk(std::max<std::size_t>(4096, declared + 1));
    quint64 total = 0;
    for (;;) {
        const zip_int64_t got = zip_fread(file, chunk.data(), chunk.size());
        if (got < 0)
            return ZipReadAhead::Failure::Damaged;
        if (got == 0)
            return ZipReadAhead::Failure::None;
        // The declared size may lie; count what really comes out.
        total += static_cast<quint64>(got);
        if (total > maxBytes)
            return ZipReadAhead::Failure::TooLarge;
        if (!sink(chunk.data(), static_cast<std::size_t>(got)))
            return ZipReadAhead::Failure::None;
    }
}

ZipReadAhead::Failure readAhead(zip_file_t *file, quint64 maxBytes,
                                const std::function<bool(const char *, std::size_t)> &sink)
{
    ZipReadAhead reader(file, maxBytes);
    std::vector<char> chunk;
    while (reader.next(chunk)) {
        if (!sink(chunk.data(), chunk.size()))
            return ZipReadAhead::Failure::None;
    }
    return reader.failure();
}

} // namespace

ZipPackage::ZipPackage(const QString &path) : m_path(path)
{
    int error = 0;
    m_zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (!m_zip)
        refuse(error);
}

ZipPackage::ZipPackage(const QByteArray &bytes, const QString &name) : m_path(name), m_bytes(bytes)
{
    zip_error_t error;
    zip_error_init(&error);
    // libzip reads the bytes in place: m_bytes keeps them alive and unchanged.
    zip_source_t *source = zip_source_buffer_create(m_bytes.constData(), zip_uint64_t(m_bytes.size()), 0, &error);
    if (source)
        m_zip = zip_open_from_source(source, ZIP_RDONLY, &error);
    const int code = zip_error_code_zip(&error);
    zip_error_fini(&error);
    if (m_zip)
        return;
    if (source)
        zip_source_free(source);
    refuse(code);
}

void ZipPackage::refuse(int error) const
{
    const QString &path = m_path;
    switch (error) {
    case ZIP_ER_NOENT:
        throw WorkbookErrors::missing(path);
    case ZIP_ER_OPEN:
    case ZIP_ER_READ:
        throw WorkbookErrors::cannotRead(path);
    case ZIP_ER_MEMORY:
        throw WorkbookErrors::tooLarge(path);
    default:
        throw WorkbookErrors::damaged(path);
    }
}

ZipPackage::~ZipPackage()
{
    if (m_zip)
        zip_discard(m_zip);
}

qint64 ZipPackage::find(const std::string &name) const
{
    std::string clean = name;
    while (!clean.empty() && clean.front() == '/')
        clean.erase(0, 1);
    zip_int64_t index = zip_name_locate(m_zip, clean.c_str(), 0);
    if (index < 0)
        index = zip_name_locate(m_zip, clean.c_str(), ZIP_FL_NOCASE);
    return index;
}

std::string ZipPackage::nameAt(qint64 index) const
{
    const char *name = zip_get_name(m_zip, static_cast<zip_uint64_t>(index), 0);
    return name ? std::string(name) : std::string();
}

qint64 ZipPackage::count() const
{
    return zip_get_num_entries(m_zip, 0);
}

void ZipPackage::stream(qint64 index, quint64 maxBytes,
                        const std::function<bool(const char *, std::size_t)> &sink) const
{
    zip_stat_t st;
    if (!stat(index, st))
        throw WorkbookErrors::damaged(m_path);
    if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE)
        throw WorkbookErrors::encrypted(m_path);
    if ((st.valid & ZIP_STAT_SIZE) && st.size > maxBytes)
        throw WorkbookErrors::tooLarge(m_path);

    std::unique_ptr<zip_file_t, int (*)(zip_file_t *)> file(zip_fopen_index(m_zip, static_cast<zip_uint64_t>(index), 0),
                                                            zip_fclose);
    if (!file)
        throw WorkbookErrors::damaged(m_path);
    const bool small = (st.valid & ZIP_STAT_SIZE) && st.size < kReadHereBelow;
    switch (small ? readHere(file.get(), st.size, maxBytes, sink) : readAhead(file.get(), maxBytes, sink)) {
    case ZipReadAhead::Failure::Damaged:
        throw WorkbookErrors::damaged(m_path);
    case ZipReadAhead::Failure::TooLarge:
        throw WorkbookErrors::tooLarge(m_path);
    case ZipReadAhead::Failure::None:
        break;
    }
}

std::string ZipPackage::read(qint64 index, quint64 maxBytes) const
{
    std::string out;
    stream(index, maxBytes, [&out](const char *data, std::size_t size) {
        out.append(data, size);
        return true;
    });
    return out;
}

bool ZipPackage::stat(qint64 index, zip_stat_t &st) const
{
    zip_stat_init(&st);
    return index >= 0 && zip_stat_index(m_zip, static_cast<zip_uint64_t>(index), 0, &st) == 0;
}

quint64 ZipPackage::declaredSize(qint64 index) const
{
    zip_stat_t st;
    if (!stat(index, st) || !(st.valid & ZIP_STAT_SIZE))
        return 0;
    // A size the compressed bytes cannot give is a lie: a reader must not reserve memory for it.
    // Deflate gives at most 1032 bytes per byte.
    const bool knownMethod = (st.valid & ZIP_STAT_COMP_SIZE) && (st.valid & ZIP_STAT_COMP_METHOD);
    if (knownMethod && st.comp_method == ZIP_CM_STORE && st.size != st.comp_size)
        return 0;
    if (knownMethod && st.comp_method == ZIP_CM_DEFLATE && st.size / 1032 > st.comp_size)
        return 0;
    return st.size;
}
