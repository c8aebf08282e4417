#pragma once

#include "workbook/ExcelApplication.h"
#include "workbook/SheetData.h"

// The cells of one worksheet held in memory.
class LoadedWorksheet : public ExcelWorksheet {
public:
    explicit LoadedWorksheet(SheetData cells) : m_cells(std::move(cells)) {}
    // A text of its own: a cell may hold its characters in the sheet's text, which goes with the sheet.
    CellValue value(int row, int column) const override
    {
        CellValue v = m_cells.at(row, column);
        if (!v.text.isEmpty())
            v.text = QString(v.text.constData(), v.text.size());
        return v;
    }
    bool rowIsEmpty(int row, int columns) const override
    {
        const int first = m_cells.firstFilledColumn(row);
        return first == 0 || first > columns;
    }
    void setValue(int row, int column, const CellValue &value) override;
    void forgetRowsBefore(int row) override { m_cells.forgetRowsBefore(row); }

private:
    SheetData m_cells;
};
