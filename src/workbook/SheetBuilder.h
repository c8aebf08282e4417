#pragma once

#include "workbook/SheetData.h"

#include <QString>
#include <vector>

// Fills a SheetData while counting the cell slots its rows take, so that a small hostile
// file (a value in the last column of every row, a cell repeated a billion times) is
// refused as too large instead of exhausting memory.
class SheetBuilder {
public:
    // The budget is the limits' slotBudget.
    SheetBuilder(const QString &path, const ReadLimits &limits);

    // Empty values (empty texts too) and cells outside the limits are ignored.
    void set(int row, int column, CellValue value);
    // The same value into columns [column, column + count) of rows [row, row + rows).
    void fill(int row, int rows, int column, int count, const CellValue &value);

    const ReadLimits &limits() const { return m_sheet.limits(); }
    qint64 slotsUsed() const { return m_used; }
    qint64 slotBudget() const { return m_budget; }
    SheetData take() { return std::move(m_sheet); }

private:
    SheetData m_sheet;
    QString m_path;
    qint64 m_budget;
    qint64 m_used = 0;
    std::vector<int> m_width;
};
