#pragma once

#include "workbook/ExcelApplication.h"
#include "workbook/SheetData.h"

// The cells of one worksheet held in memory.
class LoadedWorksheet : public ExcelWorksheet {
public:
    explicit LoadedWorksheet(SheetData cells) : m_cells(std::move(cells)) {}
    CellValue value(int row, int column) const override { return m_cells.at(row, column); }
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
