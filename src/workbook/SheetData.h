#pragma once

#include "workbook/CellValue.h"

#include <algorithm>
#include <vector>

// Limits a reader keeps to, whatever the file claims, so no file can exhaust memory.
struct ReadLimits {
    int maxRows = 1048576;
    int maxColumns = 16384;
    // Rows whose cells are kept; the rows after them up to maxRows are read on only to note
    // whether, and from which column, they hold anything.
    int keptRows = 1048576;
    // Cell slots the rows may take (SheetBuilder), whatever the file claims: about 240 MB of
    // cells, 65,536 rows of 90 columns.
    qint64 slotBudget = 6 * 1024 * 1024;
};

// The cells of one worksheet, row by row. Rows and columns are counted from 1.
// Empty cells need not be stored.
class SheetData {
public:
    // Ignores cells outside the limits and empty values.
    void set(int row, int column, CellValue value);
    // An empty value outside what was stored.
    const CellValue &at(int row, int column) const;

    int rowCount() const { return static_cast<int>(m_rows.size()); }
    // The first column holding a value in a row, kept or only noted; 0 when there is none.
    int firstFilledColumn(int row) const;
    // Moves the rows of `tail` here, its row 1 becoming row offset + 1; rows past the
    // limits are dropped.
    void append(SheetData &&tail, int offset);
    void setLimits(const ReadLimits &limits) { m_limits = limits; }
    const ReadLimits &limits() const { return m_limits; }
    int keptRows() const { return std::min(m_limits.keptRows, m_limits.maxRows); }
    // Notes that a row past the kept ones holds a value in this column.
    void note(int row, int column);
    // Frees the kept rows before `row`: they read as empty from now on.
    void forgetRowsBefore(int row);
    // Text whose characters cells hold in place (QString::fromRawData): kept while the sheet lives.
    void keepText(const QString &text) { m_texts.push_back(text); }

private:
    std::vector<std::vector<CellValue>> m_rows;
    // Per row past the kept ones, its first filled column (0: none).
    std::vector<int> m_noted;
    ReadLimits m_limits;
    std::size_t m_lastWidth = 0;
    std::vector<QString> m_texts;
};
