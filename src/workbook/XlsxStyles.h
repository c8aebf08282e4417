#pragma once

#include <vector>

class ZipPackage;

// Which cell styles of an OOXML workbook show numbers as dates or times.
class XlsxStyles {
public:
    XlsxStyles() = default;
    XlsxStyles(const ZipPackage &package, long long index);

    bool isDate(int styleIndex) const
    {
        return styleIndex >= 0 && static_cast<std::size_t>(styleIndex) < m_date.size() && m_date[styleIndex];
    }

private:
    std::vector<bool> m_date;
};
