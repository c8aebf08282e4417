#include "workbook/LoadedWorksheet.h"

void LoadedWorksheet::setValue(int row, int column, const CellValue &value)
{
    // The sheet skips empty values, so clearing a cell stores an empty text.
    m_cells.set(row, column, value.type == CellValue::Type::Empty ? CellValue::fromText(QString()) : value);
}
