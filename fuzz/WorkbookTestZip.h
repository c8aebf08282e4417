#pragma once

// Writes small zip packages part by part, so that fuzzed parts reach the readers.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <utility>
#include <vector>
#include <zip.h>

namespace WorkbookTestZip {

using Parts = std::vector<std::pair<QByteArray, QByteArray>>; // name, content

inline bool write(const QString &path, const Parts &parts)
{
    QFile::remove(path);
    int error = 0;
    zip_t *zip = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!zip)
        return false;
    for (const auto &[name, content] : parts) {
        zip_source_t *source = zip_source_buffer(zip, content.constData(), zip_uint64_t(content.size()), 0);
        if (!source || zip_file_add(zip, name.constData(), source, ZIP_FL_OVERWRITE) < 0) {
            zip_source_free(source);
            zip_discard(zip);
            return false;
        }
    }
    // The buffers are read when the archive is written, here.
    return zip_close(zip) == 0;
}

} // namespace WorkbookTestZip
