#include "external/workbook/SheetData.h"

#include <algorithm>

void SheetData::set(int row, int column, CellValue value)
{
    if (row < 1 || column < 1 || row > m_limits.maxRows || column > m_limits.maxColumns)
        return;
    if (value.type == CellValue::Type::Empty)
        return;
    if (static_cast<std::size_t>(row) > m_rows.size())
        m_rows.resize(row);
    auto &cells = m_rows[row - 1];
    if (static_cast<std::size_t>(column) > cells.size()) {
        // A row is mostly as wide as the one before it: one allocation per row, not one per
        // doubling. Only the previous row's width is used, so one wide row costs little.
        if (cells.capacity() == 0)
            cells.reserve(std::max<std::size_t>(column, m_lastWidth));
        cells.resize(column);
        m_lastWidth = cells.size();
    }
    cells[column - 1] = std::move(value);
}

const CellValue &SheetData::at(int row, int column) const
{
    static const CellValue empty;
    if (row < 1 || column < 1 || static_cast<std::size_t>(row) > m_rows.size())
        return empty;
    const auto &cells = m_rows[row - 1];
    if (static_cast<std::size_t>(column) > cells.size())
        return empty;
    return cells[column - 1];
}

void SheetData::append(SheetData &&tail, int offset)
{
    const std::size_t last = std::min<std::size_t>(tail.m_rows.size() + std::size_t(offset),
                                                   std::size_t(m_limits.maxRows));
    if (last <= std::size_t(offset))
        return;
    if (m_rows.size() < last)
        m_rows.resize(last);
    for (std::size_t r = std::size_t(offset); r < last; ++r)
        m_rows[r] = std::move(tail.m_rows[r - std::size_t(offset)]);
    tail.m_rows.clear();
}
