#include "external/workbook/XlsxSharedStrings.h"
#include "external/workbook/ZipPackage.h"
#include "platform/AppError.h"

#include <QtTest>

// What the shared workbook samples cannot show: the memory budget of the shared-string table.
class XlsxReaderTest : public QObject {
    Q_OBJECT

private slots:
    void sharedStringTableHasAMemoryBudget()
    {
        // A thousand tiny strings fit in a small package; each costs far more in memory.
        const QString path = QStringLiteral(SORVANTA_SOURCE_DIR "/tests/data/workbooks/xlsx_many_strings.xlsx");
        const ZipPackage package(path);
        const qint64 index = package.find("xl/sharedStrings.xml");
        QCOMPARE(XlsxSharedStrings(package, index).size(), std::size_t(1000));
        try {
            XlsxSharedStrings(package, index, 50000);
            QFAIL("the table went past its budget");
        } catch (const AppError &e) {
            QCOMPARE(e.description(), QStringLiteral("El archivo %1 es demasiado grande para leerlo").arg(path));
        }
    }
};

QTEST_GUILESS_MAIN(XlsxReaderTest)
#include "XlsxReader_test.moc"
