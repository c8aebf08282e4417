#include "workbook/SheetData.h"

#include <algorithm>

void SheetData::set(int row, int column, CellValue value)
{
    if (row < 1 || column < 1 || row > m_limits.maxRows || column > m_limits.maxColumns)
        return;
    if (value.type == CellValue::Type::Empty)
        return;
    if (row > keptRows()) {
        note(row, column);
        return;
    }
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

void SheetData::forgetRowsBefore(int row)
{
    const std::size_t end = std::min(m_rows.size(), std::size_t(std::max(row - 1, 0)));
    for (std::size_t r = 0; r < end; ++r)
        std::vector<CellValue>().swap(m_rows[r]);
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

void SheetData::note(int row, int column)
{
    if (row <= keptRows() || row > m_limits.maxRows || column < 1 || column > m_limits.maxColumns)
        return;
    const std::size_t at = std::size_t(row - keptRows() - 1);
    if (at >= m_noted.size())
        m_noted.resize(at + 1, 0);
    int &first = m_noted[at];
    if (first == 0 || column < first)
        first = column;
}

int SheetData::firstFilledColumn(int row) const
{
    if (row > keptRows()) {
        const std::size_t at = std::size_t(row - keptRows() - 1);
        return at < m_noted.size() ? m_noted[at] : 0;
    }
    if (row < 1 || static_cast<std::size_t>(row) > m_rows.size())
        return 0;
    const auto &cells = m_rows[row - 1];
    for (std::size_t c = 0; c < cells.size(); ++c) {
        if (!cells[c].isEmpty())
            return static_cast<int>(c) + 1;
    }
    return 0;
}

void SheetData::append(SheetData &&tail, int offset)
{
    const std::size_t kept = std::size_t(keptRows());
    const std::size_t last = std::min(tail.m_rows.size() + std::size_t(offset), kept);
    if (m_rows.size() < last)
        m_rows.resize(last);
    for (std::size_t r = std::size_t(offset); r < last; ++r)
        m_rows[r] = std::move(tail.m_rows[r - std::size_t(offset)]);
    // What lands past the kept rows is only noted, wherever the tail kept it.
    for (int r = static_cast<int>(std::max(last, std::size_t(offset))) + 1; r - offset <= tail.rowCount(); ++r)
        note(r, tail.firstFilledColumn(r - offset));
    for (int r = tail.keptRows() + 1; r - tail.keptRows() <= static_cast<int>(tail.m_noted.size()); ++r)
        note(r + offset, tail.firstFilledColumn(r));
    tail.m_rows.clear();
    tail.m_noted.clear();
    m_texts.insert(m_texts.end(), tail.m_texts.begin(), tail.m_texts.end());
}
