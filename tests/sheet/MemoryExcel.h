#pragma once

#include "external/ComponentRegistry.h"
#include "external/workbook/ExcelApplication.h"
#include "external/workbook/SheetData.h"
#include "platform/AppError.h"

#include <QStringList>

// An in-memory "Excel.Application" for tests: every workbook it opens is the one sheet it
// was given, and it records the calls it received.
struct MemoryExcelLog {
    QStringList calls;
    bool failClosingWorkbooks = false;
};

class MemoryExcelSheet : public ExcelWorksheet {
public:
    explicit MemoryExcelSheet(std::shared_ptr<SheetData> data) : m_data(std::move(data)) {}
    CellValue value(int row, int column) const override { return m_data->at(row, column); }
    void setValue(int row, int column, const CellValue &value) override { m_data->set(row, column, value); }

private:
    std::shared_ptr<SheetData> m_data;
};

class MemoryExcelBook : public ExcelWorkbook {
public:
    explicit MemoryExcelBook(std::shared_ptr<SheetData> data) : m_data(std::move(data)) {}
    std::shared_ptr<ExcelWorksheet> worksheet(int index) override
    {
        if (index != 1)
            throw AppError(9, QStringLiteral("Worksheets"), QStringLiteral("Subíndice fuera del intervalo"));
        return std::make_shared<MemoryExcelSheet>(m_data);
    }

private:
    std::shared_ptr<SheetData> m_data;
};

class MemoryExcel : public ExcelApplication {
public:
    MemoryExcel(std::shared_ptr<SheetData> data, std::shared_ptr<MemoryExcelLog> log)
        : m_data(std::move(data)), m_log(std::move(log))
    {
    }

    std::shared_ptr<ExcelWorkbook> openWorkbook(const QString &fileName, bool readOnly,
                                                bool ignoreReadOnlyRecommended, bool editable) override
    {
        m_log->calls << QStringLiteral("open %1 %2 %3 %4")
                            .arg(fileName)
                            .arg(readOnly)
                            .arg(ignoreReadOnlyRecommended)
                            .arg(editable);
        return std::make_shared<MemoryExcelBook>(m_data);
    }
    void closeWorkbooks() override
    {
        m_log->calls << QStringLiteral("closeWorkbooks");
        if (m_log->failClosingWorkbooks)
            throw AppError(1004, QStringLiteral("Workbooks"), QStringLiteral("Error en el método Close"));
    }
    void close() override { m_log->calls << QStringLiteral("close"); }

    // Registers the sheet as "Excel.Application" until ComponentRegistry::reset().
    static std::shared_ptr<MemoryExcelLog> install(std::shared_ptr<SheetData> data)
    {
        auto log = std::make_shared<MemoryExcelLog>();
        ComponentRegistry::registerSubstitute(QStringLiteral("Excel.Application"), [data, log] {
            return std::make_shared<MemoryExcel>(data, log);
        });
        return log;
    }

private:
    std::shared_ptr<SheetData> m_data;
    std::shared_ptr<MemoryExcelLog> m_log;
};
