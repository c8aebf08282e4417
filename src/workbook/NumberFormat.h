#pragma once

#include <QString>

// Tells which number formats show a number as a date or a time; the .xls and the .xlsx
// readers both ask here, so a format means the same in either file.
namespace NumberFormat {

// Number format `id` of a cell, with the code the file gives for it (empty for none).
// A given code decides by its date or time tokens (d, m, y, h, s, AM/PM outside quoted
// text, escapes and brackets), except for format 0, which is General whatever a localized
// writer calls it ("Standard" has a d). Without a code the built-in dates and times
// decide: 14 to 22, 45 to 47 and the East Asian 27 to 36 and 50 to 58.
bool isDate(int id, const QString &code);

} // namespace NumberFormat
