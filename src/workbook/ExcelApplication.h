#pragma once

#include "core/Component.h"
#include "workbook/CellValue.h"

#include <QString>
#include <memory>

// What the program asks of a spreadsheet application ("Excel.Application"):
// open a workbook file, give its worksheets, read and write cell values, close.
class ExcelWorksheet {
public:
    virtual ~ExcelWorksheet() = default;
    // Row and column counted from 1; outside the used range gives an empty value.
    virtual CellValue value(int row, int column) const = 0;
    // Whether columns 1 to `columns` of a row hold nothing; also for rows read past those
    // whose cells are kept.
    virtual bool rowIsEmpty(int row, int columns) const
    {
        for (int c = 1; c <= columns; ++c) {
            if (!value(row, c).isEmpty())
                return false;
        }
        return true;
    }
    // Changes the cell in memory only; the file is never written.
    virtual void setValue(int row, int column, const CellValue &value) = 0;
    // The rows before `row` will not be read again: an application holding them in memory
    // may let them go (they read as empty after that).
    virtual void forgetRowsBefore(int row) { (void)row; }
};

class ExcelWorkbook {
public:
    virtual ~ExcelWorkbook() = default;
    // Worksheets in workbook order, counted from 1, hidden ones included.
    virtual std::shared_ptr<ExcelWorksheet> worksheet(int index) = 0;
};

class ExcelApplication : public Component {
public:
    // Opens a workbook file; a file that cannot be read raises AppError with a Spanish
    // description saying why (missing, not a workbook, damaged, encrypted...).
    virtual std::shared_ptr<ExcelWorkbook> openWorkbook(const QString &fileName, bool readOnly,
                                                        bool ignoreReadOnlyRecommended, bool editable) = 0;
    // Rows of a worksheet the workbooks opened from now on keep, header included; the next
    // filled rows are only noted. An application that keeps every row may ignore it.
    virtual void keepRows(int rows) { (void)rows; }
    // Closes every open workbook.
    virtual void closeWorkbooks() = 0;
    virtual void close() = 0;
};
