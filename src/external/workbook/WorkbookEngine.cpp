#include "external/workbook/WorkbookEngine.h"

#include "external/workbook/WorkbookFile.h"
#include "platform/AppError.h"

namespace {
class MemorySheet : public ExcelWorksheet {
public:
    explicit MemorySheet(SheetData data) : m_data(std::move(data)) {}
    CellValue value(int row, int column) const override { return m_data.at(row, column); }
    void setValue(int row, int column, const CellValue &value) override { m_data.set(row, column, value); }

private:
    SheetData m_data;
};

class MemoryWorkbook : public ExcelWorkbook {
public:
    explicit MemoryWorkbook(SheetData first) : m_first(std::make_shared<MemorySheet>(std::move(first))) {}
    std::shared_ptr<ExcelWorksheet> worksheet(int index) override
    {
        if (index != 1)
            throw AppError(9, QStringLiteral("Excel.Application"), QStringLiteral("Subíndice fuera del intervalo"));
        return m_first;
    }

private:
    std::shared_ptr<MemorySheet> m_first;
};
} // namespace

ReadLimits WorkbookEngine::defaultLimits()
{
    ReadLimits limits;
    limits.maxRows = 65536;
    return limits;
}

std::shared_ptr<ExcelWorkbook> WorkbookEngine::openWorkbook(const QString &fileName, bool, bool, bool)
{
    auto workbook = std::make_shared<MemoryWorkbook>(WorkbookFile::readFirstSheet(fileName, defaultLimits()));
    m_open.push_back(workbook);
    return workbook;
}

void WorkbookEngine::closeWorkbooks()
{
    m_open.clear();
}

void WorkbookEngine::close()
{
    m_open.clear();
}
