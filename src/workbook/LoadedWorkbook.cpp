#include "workbook/LoadedWorkbook.h"

#include "core/AppError.h"
#include "core/ErrorNumbers.h"
#include "workbook/LoadedWorksheet.h"

LoadedWorkbook::LoadedWorkbook(SheetData firstSheet) : m_first(std::make_shared<LoadedWorksheet>(std::move(firstSheet)))
{
}

std::shared_ptr<ExcelWorksheet> LoadedWorkbook::worksheet(int index)
{
    if (index != 1)
        throw AppError(ErrorNumbers::kSubscriptOutOfRange, QStringLiteral("Excel.Application"),
                       QStringLiteral("Subíndice fuera del intervalo"));
    return m_first;
}
