#pragma once

// Builds small zip packages part by part in memory, so that fuzzed parts reach the readers
// without a file written and read back for every input.

#include <QByteArray>
#include <utility>
#include <vector>
#include <zip.h>

namespace WorkbookTestZip {

using Parts = std::vector<std::pair<QByteArray, QByteArray>>; // name, content

inline bool addParts(zip_t *zip, const Parts &parts)
{
    for (const auto &[name, content] : parts) {
        zip_source_t *source = zip_source_buffer(zip, content.constData(), zip_uint64_t(content.size()), 0);
        const zip_int64_t index = source ? zip_file_add(zip, name.constData(), source, ZIP_FL_OVERWRITE) : -1;
        if (index < 0) {
            zip_source_free(source);
            return false;
        }
        // Stored, not deflated: setting up a compressor for every input costs more than the read.
        if (zip_set_file_compression(zip, zip_uint64_t(index), ZIP_CM_STORE, 0) < 0)
            return false;
    }
    return true;
}

// Every byte the source holds; empty when it cannot be read.
inline QByteArray contents(zip_source_t *source)
{
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_source_stat(source, &st) != 0 || zip_source_open(source) != 0)
        return {};
    QByteArray bytes(qsizetype(st.size), '\0');
    if (zip_source_read(source, bytes.data(), st.size) != zip_int64_t(st.size))
        bytes.clear();
    zip_source_close(source);
    return bytes;
}

// The package's bytes; empty when libzip refuses.
inline QByteArray build(const Parts &parts)
{
    zip_source_t *target = zip_source_buffer_create(nullptr, 0, 0, nullptr);
    if (!target)
        return {};
    zip_t *zip = zip_open_from_source(target, ZIP_TRUNCATE, nullptr);
    if (!zip) {
        zip_source_free(target);
        return {};
    }
    // Closing the archive frees its source; the written bytes are read from it after that.
    zip_source_keep(target);
    QByteArray bytes;
    if (addParts(zip, parts) && zip_close(zip) == 0)
        bytes = contents(target);
    else
        zip_discard(zip);
    zip_source_free(target);
    return bytes;
}

} // namespace WorkbookTestZip
