#include "workbook/ZipPackage.h"

#include "core/AppError.h"
#include "workbook/WorkbookErrors.h"
#include "workbook/ZipReadAhead.h"

#include <QFile>
#include <memory>
#include <vector>
#include <zip.h>

ZipPackage::ZipPackage(const QString &path) : m_path(path)
{
    int error = 0;
    m_zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (m_zip)
        return;
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
    ZipReadAhead reader(file.get(), maxBytes);
    std::vector<char> chunk;
    while (reader.next(chunk)) {
        if (!sink(chunk.data(), chunk.size()))
            return;
    }
    switch (reader.failure()) {
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
    return stat(index, st) && (st.valid & ZIP_STAT_SIZE) ? st.size : 0;
}
