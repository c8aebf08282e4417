#pragma once

#include "external/workbook/ExcelApplication.h"
#include "external/workbook/SheetData.h"

#include <vector>

// "Excel.Application": our own reader of workbook files. A workbook is read into memory
// once, when opened; only its first worksheet is kept, which is all the program reads.
class WorkbookEngine : public ExcelApplication {
public:
    // The program never reads beyond row 65,535: keeping more would only cost memory.
    static ReadLimits defaultLimits();

    std::shared_ptr<ExcelWorkbook> openWorkbook(const QString &fileName, bool readOnly,
                                                bool ignoreReadOnlyRecommended, bool editable) override;
    void closeWorkbooks() override;
    void close() override;

private:
    std::vector<std::shared_ptr<ExcelWorkbook>> m_open;
};
