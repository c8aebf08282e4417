#pragma once

#include <QString>
#include <array>

// Tells which number formats show a number as a date or a time; the .xls and the .xlsx
// readers both ask here, so a format means the same in either file.
namespace NumberFormat {

// Which numbers one format shows as dates or times. A section is a date by its date or
// time tokens (d, m, y, h, s, AM/PM outside quoted text, escapes and brackets). Without
// conditions the first section decides for every number. Sections with conditions
// ([=0]?;[<4.16666666666667][hh]:mm:ss;[hh]:mm) are picked per number as the spreadsheet
// programs pick them: the first whose condition the number meets, else the first without one.
struct DateRule {
    struct Section {
        double bound = 0;
        // '<', '>', '=', 'l' (<=), 'g' (>=), 'n' (<>); 0 for none.
        char op = 0;
        bool date = false;
    };
    std::array<Section, 3> sections{};
    int count = 0;
    bool conditional = false;

    bool isDate(double value) const;
    // Whether any number at all is shown as a date.
    bool anyDate() const;
};

// The rule of number format `id` of a cell, with the code the file gives for it (empty for
// none). Format 0 is General whatever a localized writer calls it ("Standard" has a d).
// Without a code the built-in dates and times decide: 14 to 22, 45 to 47 and the East
// Asian 27 to 36 and 50 to 58.
DateRule dateRule(int id, const QString &code);

} // namespace NumberFormat
