#pragma once

#include <QString>

// Tells which number formats show a number as a date or a time.
namespace NumberFormat {

// Built-in format ids 14 to 22 and 45 to 47.
bool isBuiltInDate(int id);
// A format code with a date or time token (d, m, y, h, s, AM/PM) outside quoted text,
// escaped characters and brackets.
bool isDateCode(const QString &code);

} // namespace NumberFormat
