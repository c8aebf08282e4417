#pragma once

#include <QString>
#include <QtGlobal>

// Tells whether a number format shows a date or a time, so that a numeric cell with that
// format is read as a date serial.
class XlsDateFormats {
public:
    // Built-in formats 14 to 22 and 45 to 47 are dates and times; any other id is judged by
    // its format code (empty when the file defines none).
    static bool isDateFormat(quint16 id, const QString &code);
    // Date or time tokens (d, m, y, h, s) outside quoted text, brackets and escapes.
    static bool hasDateTokens(const QString &code);
};
