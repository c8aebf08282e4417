#pragma once

#include "workbook/ExcelApplication.h"
#include "workbook/SheetData.h"

#include <vector>

// The program's own spreadsheet application ("Excel.Application"): reads the first
// worksheet of .xlsx, .xlsm, .ods, .xls and .csv files into memory, read-only.
class WorkbookEngine : public ExcelApplication {
public:
    // The program never reads beyond row 65,535, so a sheet keeps at most 65,536 rows.
    // Rows past 65,536 are read on only to tell how many were left out.
    static ReadLimits defaultLimits() { return ReadLimits{1048576, 16384, 65536}; }

    explicit WorkbookEngine(const ReadLimits &limits = defaultLimits());

    // At least one row past them is read on, so a reader can tell the sheet goes further.
    void keepRows(int rows) override;
    std::shared_ptr<ExcelWorkbook> openWorkbook(const QString &fileName, bool readOnly, bool ignoreReadOnlyRecommended,
                                                bool editable) override;
    void closeWorkbooks() override;
    void close() override;

private:
    ReadLimits m_limits;
    std::vector<std::shared_ptr<ExcelWorkbook>> m_open;
};
