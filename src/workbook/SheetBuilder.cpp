#include "workbook/SheetBuilder.h"

#include "core/AppError.h"
#include "workbook/WorkbookErrors.h"

#include <algorithm>

SheetBuilder::SheetBuilder(const QString &path, const ReadLimits &limits) : m_path(path), m_budget(limits.slotBudget)
{
    m_sheet.setLimits(limits);
}

void SheetBuilder::set(int row, int column, CellValue value)
{
    const ReadLimits &l = m_sheet.limits();
    // An empty text reads like an empty cell and must not widen the sheet.
    if (value.isEmpty() || row < 1 || column < 1 || row > l.maxRows || column > l.maxColumns)
        return;
    if (row > m_sheet.keptRows()) {
        m_sheet.note(row, column);
        return;
    }
    if (static_cast<std::size_t>(row) > m_width.size())
        m_width.resize(static_cast<std::size_t>(row), 0);
    int &width = m_width[static_cast<std::size_t>(row) - 1];
    if (column > width) {
        m_used += column - width;
        width = column;
        if (m_used > m_budget)
            throw WorkbookErrors::tooLarge(m_path);
    }
    m_sheet.set(row, column, std::move(value));
}

void SheetBuilder::fill(int row, int rows, int column, int count, const CellValue &value)
{
    const ReadLimits &l = m_sheet.limits();
    if (value.isEmpty() || row > l.maxRows || column > l.maxColumns)
        return;
    const int lastNoted = static_cast<int>(std::min<qint64>(qint64(row) + rows - 1, l.maxRows));
    const int lastColumn = static_cast<int>(std::min<qint64>(qint64(column) + count - 1, l.maxColumns));
    // Rows past the kept ones cost one note each, however many columns the value spans.
    for (int r = std::max(row, m_sheet.keptRows() + 1); r <= lastNoted; ++r)
        m_sheet.note(r, column);
    const int lastRow = std::min(lastNoted, m_sheet.keptRows());
    // What the fill would take, counted before a single cell is written.
    qint64 growth = 0;
    for (int r = row; r <= lastRow; ++r) {
        const int width = static_cast<std::size_t>(r) <= m_width.size() ? m_width[r - 1] : 0;
        growth += std::max(0, lastColumn - width);
    }
    if (m_used + growth > m_budget)
        throw WorkbookErrors::tooLarge(m_path);
    for (int r = row; r <= lastRow; ++r)
        for (int c = lastColumn; c >= column; --c) // widest first: one resize per row
            set(r, c, value);
}
