#pragma once

#include <QString>
#include <vector>

class ZipPackage;

// The shared-string table of an OOXML workbook, read once; cells share these strings.
class XlsxSharedStrings {
public:
    // What the table may cost in memory (about 256 MB): a small package can hold millions
    // of tiny strings, each costing far more in memory than in the file.
    static constexpr long long kDefaultMemoryBudget = 256ll * 1024 * 1024;

    XlsxSharedStrings() = default;
    // A table beyond the budget raises the too-large workbook error.
    XlsxSharedStrings(const ZipPackage &package, long long index, long long memoryBudget = kDefaultMemoryBudget);

    // Nullptr for an index outside the table.
    const QString *at(long long index) const
    {
        return index >= 0 && static_cast<std::size_t>(index) < m_strings.size() ? &m_strings[index] : nullptr;
    }
    std::size_t size() const { return m_strings.size(); }

private:
    std::vector<QString> m_strings;
};
