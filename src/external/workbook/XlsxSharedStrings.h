#pragma once

#include <QString>
#include <vector>

class ZipPackage;

// The shared-string table of an OOXML workbook, read once; cells share these strings.
class XlsxSharedStrings {
public:
    XlsxSharedStrings() = default;
    XlsxSharedStrings(const ZipPackage &package, long long index);

    // Nullptr for an index outside the table.
    const QString *at(long long index) const
    {
        return index >= 0 && static_cast<std::size_t>(index) < m_strings.size() ? &m_strings[index] : nullptr;
    }
    std::size_t size() const { return m_strings.size(); }

private:
    std::vector<QString> m_strings;
};
