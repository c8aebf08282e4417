#pragma once

// What the harnesses share: where an input is written for a reader that opens a file (.xls;
// the zip and text readers take theirs from memory), and reading every cell of the result so
// that a bad value shows up under the sanitizer.

#include "workbook/SheetData.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <unistd.h>

namespace FuzzInput {

inline QString path(const char *suffix)
{
    // One file per fuzzing process, in memory-backed storage when there is some.
    const char *dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return QStringLiteral("%1/sorvanta-fuzz-%2.%3")
        .arg(QString::fromLatin1(dir))
        .arg(getpid())
        .arg(QString::fromLatin1(suffix));
}

// The input as a file of its own; false when it cannot be written.
inline bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

inline qsizetype touch(const SheetData &sheet)
{
    qsizetype chars = 0;
    for (int r = 1; r <= sheet.rowCount(); ++r)
        for (int c = 1; c <= 64; ++c)
            chars += sheet.at(r, c).text.size() + (sheet.at(r, c).number != 0 ? 1 : 0);
    return chars;
}

} // namespace FuzzInput
