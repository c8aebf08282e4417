#pragma once

#include "workbook/NumberFormat.h"

#include <vector>

class ZipPackage;

// Which cell styles of an OOXML workbook show numbers as dates or times.
class XlsxStyles {
public:
    XlsxStyles() = default;
    XlsxStyles(const ZipPackage &package, long long index);

    // Whether the style shows `value` as a date or a time.
    bool isDate(int styleIndex, double value) const
    {
        return styleIndex >= 0 && static_cast<std::size_t>(styleIndex) < m_date.size()
               && m_date[std::size_t(styleIndex)].isDate(value);
    }

private:
    std::vector<NumberFormat::DateRule> m_date;
};
