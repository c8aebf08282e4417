#pragma once

#include "workbook/ExcelApplication.h"
#include "workbook/SheetData.h"

// A workbook read into memory: only its first worksheet is kept.
class LoadedWorkbook : public ExcelWorkbook {
public:
    explicit LoadedWorkbook(SheetData firstSheet);
    // Worksheet 1; any other index raises AppError 9 "Subíndice fuera del intervalo".
    std::shared_ptr<ExcelWorksheet> worksheet(int index) override;

private:
    std::shared_ptr<ExcelWorksheet> m_first;
};
