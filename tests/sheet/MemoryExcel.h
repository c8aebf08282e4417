#pragma once

#include "components/ComponentRegistry.h"
#include "core/AppError.h"
#include "workbook/ExcelApplication.h"
#include "workbook/SheetData.h"

#include <QStringList>

// An in-memory "Excel.Application": every workbook it opens is the one sheet it was given.
// It records the calls it receives and can fail to close the workbooks.
struct MemoryExcelLog {
    QStringList calls;
    bool failClosingWorkbooks = false;
};

class MemoryExcel : public ExcelApplication {
    struct Sheet : ExcelWorksheet {
        std::shared_ptr<SheetData> data;
        CellValue value(int row, int column) const override { return data->at(row, column); }
        void setValue(int row, int column, const CellValue &value) override { data->set(row, column, value); }
    };
    struct Book : ExcelWorkbook {
        std::shared_ptr<SheetData> data;
        std::shared_ptr<ExcelWorksheet> worksheet(int) override
        {
            auto sheet = std::make_shared<Sheet>();
            sheet->data = data;
            return sheet;
        }
    };

public:
    std::shared_ptr<SheetData> data;
    std::shared_ptr<MemoryExcelLog> log;

    std::shared_ptr<ExcelWorkbook> openWorkbook(const QString &file, bool readOnly, bool ignoreReadOnlyRecommended,
                                                bool editable) override
    {
        log->calls
            << QStringLiteral("open %1 %2 %3 %4").arg(file).arg(readOnly).arg(ignoreReadOnlyRecommended).arg(editable);
        auto book = std::make_shared<Book>();
        book->data = data;
        return book;
    }
    void closeWorkbooks() override
    {
        log->calls << QStringLiteral("closeWorkbooks");
        if (log->failClosingWorkbooks)
            throw AppError(1004, QStringLiteral("Workbooks"), QStringLiteral("Error en el método Close"));
    }
    void close() override { log->calls << QStringLiteral("close"); }

    // Registers the sheet as "Excel.Application" until ComponentRegistry::reset().
    static std::shared_ptr<MemoryExcelLog> install(std::shared_ptr<SheetData> data)
    {
        auto log = std::make_shared<MemoryExcelLog>();
        ComponentRegistry::registerSubstitute(QStringLiteral("Excel.Application"), [data, log] {
            auto app = std::make_shared<MemoryExcel>();
            app->data = data;
            app->log = log;
            return app;
        });
        return log;
    }
};
