#include "external/ComponentRegistry.h"
#include "external/workbook/ExcelApplication.h"
#include "external/workbook/WorkbookEngine.h"
#include "platform/AppError.h"

#include <QtTest>

// The engine behind "Excel.Application": what it adds to the readers, whose cells the
// workbook samples check.
class WorkbookEngineTest : public QObject {
    Q_OBJECT

    const QString m_xlsx = QStringLiteral(SORVANTA_SOURCE_DIR "/tests/data/workbooks/xlsxwriter_hidden_first.xlsx");

    static std::shared_ptr<ExcelWorksheet> open(const QString &path, int sheet = 1)
    {
        auto app = ComponentRegistry::create<ExcelApplication>(QStringLiteral("Excel.Application"));
        return app->openWorkbook(path, true, true, false)->worksheet(sheet);
    }

private slots:
    void writtenCellsStayInMemory()
    {
        const auto sheet = open(m_xlsx);
        QCOMPARE(sheet->value(1, 1).text, QStringLiteral("Código"));
        sheet->setValue(1, 1, CellValue::fromText(QStringLiteral("nuevo")));
        sheet->setValue(1, 2, CellValue());
        QCOMPARE(sheet->value(1, 1).text, QStringLiteral("nuevo"));
        QVERIFY(sheet->value(1, 2).isEmpty());
        QCOMPARE(open(m_xlsx)->value(1, 1).text, QStringLiteral("Código"));
    }

    void onlyTheFirstWorksheetAndAnExistingFile()
    {
        QCOMPARE(errorOf([&] { open(m_xlsx, 2); }).number(), 9);
        const QString missing = m_xlsx + QStringLiteral(".nada");
        QCOMPARE(errorOf([&] { open(missing); }).description(), QStringLiteral("No se encuentra el archivo %1").arg(missing));
    }

private:
    template <typename F>
    static AppError errorOf(F call)
    {
        try {
            call();
        } catch (const AppError &e) {
            return e;
        }
        return AppError(0, QString(), QStringLiteral("(no error)"));
    }
};

QTEST_GUILESS_MAIN(WorkbookEngineTest)
#include "WorkbookEngine_test.moc"
