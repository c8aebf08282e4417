#include "MemoryExcel.h"
#include "SheetFiles.h"

#include "platform/ErrorNumbers.h"
#include "sheet/clEcxel.h"

#include <QJsonObject>
#include <QLocale>
#include <QtTest>

class clEcxelTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void cleanup()
    {
        ComponentRegistry::reset();
        QLocale::setDefault(QLocale::c());
    }

    void openWithoutPathRaisesWithStepNumber()
    {
        MemoryExcel::install(std::make_shared<SheetData>());
        clEcxel excel;
        try {
            excel.Abrir(true);
            QFAIL("no error raised");
        } catch (const AppError &e) {
            QCOMPARE(e.number(), ErrorNumbers::kSpreadsheet);
            QCOMPARE(e.number(), -2147221494);
            QCOMPARE(e.source(), QStringLiteral("[clExcel.Abrir]"));
            QCOMPARE(e.description(), QStringLiteral("No hay archivo seleccionado2"));
        }
    }

    void readingBeforeOpeningGivesEmptyText()
    {
        clEcxel excel;
        QCOMPARE(excel.LeerCelda(1, 1), QString());
        excel.EscribirCelda(1, 1, QStringLiteral("x"));
        excel.CerrarArchivo();
        QCOMPARE(excel.LeerCelda(1, 1), QString());
    }

    void opensReadOnlyReadsWritesAndCloses()
    {
        auto data = std::make_shared<SheetData>();
        data->set(2, 3, CellValue::fromText(QStringLiteral("VAL-1020-A")));
        auto log = MemoryExcel::install(data);
        log->failClosingWorkbooks = true;
        clEcxel excel;
        excel.Archivo(QStringLiteral("/tmp/lista.xlsx"));
        QVERIFY(excel.Abrir(true));
        QCOMPARE(excel.LeerCelda(2, 3), QStringLiteral("VAL-1020-A"));
        QCOMPARE(excel.LeerCelda(3, 2), QString());
        excel.EscribirCelda(3, 2, QStringLiteral("China"));
        QCOMPARE(excel.LeerCelda(3, 2), QStringLiteral("China"));
        excel.CerrarArchivo();
        // A failing close of the workbooks still closes the application, silently.
        QCOMPARE(log->calls, QStringList({QStringLiteral("open /tmp/lista.xlsx 1 1 0"),
                                          QStringLiteral("closeWorkbooks"), QStringLiteral("close")}));
    }

    void errorCellRaisesFromLeerCelda()
    {
        auto data = std::make_shared<SheetData>();
        data->set(1, 1, CellValue::fromError(QStringLiteral("#DIV/0!")));
        MemoryExcel::install(data);
        clEcxel excel;
        excel.Archivo(QStringLiteral("x.xlsx"));
        excel.Abrir(true);
        try {
            excel.LeerCelda(1, 1);
            QFAIL("no error raised");
        } catch (const AppError &e) {
            QCOMPARE(e.number(), ErrorNumbers::kTypeMismatch);
            QCOMPARE(e.source(), QStringLiteral("[clExcel.LeerCelda]"));
            QCOMPARE(e.description(), QStringLiteral("No coinciden los tipos"));
        }
    }

    void damagedAndMissingFilesRaiseFromAbrir()
    {
        QTemporaryDir dir;
        const QString damaged = dir.filePath(QStringLiteral("roto.xlsx"));
        QFile f(damaged);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("PK\x03\x04 esto no es un libro");
        f.close();
        for (const QString &path : {damaged, dir.filePath(QStringLiteral("no-existe.xlsx"))}) {
            clEcxel excel;
            excel.Archivo(path);
            try {
                excel.Abrir(true);
                QFAIL("no error raised");
            } catch (const AppError &e) {
                QCOMPARE(e.source(), QStringLiteral("[clExcel.Abrir]"));
                QVERIFY2(e.description().endsWith(QLatin1Char('3')), qPrintable(e.description()));
                QVERIFY(e.description().size() > 1);
            }
        }
    }

    void readsTheExampleListsInEveryFormat_data()
    {
        QTest::addColumn<QString>("ext");
        for (const char *ext : {"xlsx", "xls", "ods", "csv"})
            QTest::newRow(ext) << QString::fromLatin1(ext);
    }
    void readsTheExampleListsInEveryFormat()
    {
        QFETCH(QString, ext);
        QLocale::setDefault(QLocale(QStringLiteral("es_AR")));
        clEcxel excel;
        excel.Archivo(SheetFiles::examplesDir() + QStringLiteral("/articulos.") + ext);
        QVERIFY(excel.Abrir(true));
        QCOMPARE(excel.LeerCelda(1, 1), QStringLiteral("Codigo"));
        QCOMPARE(excel.LeerCelda(2, 1), QStringLiteral("VAL-1020-A"));
        QCOMPARE(excel.LeerCelda(2, 2), QStringLiteral("Válvula esférica 1/2\" bronce"));
        QCOMPARE(excel.LeerCelda(2, 4), QStringLiteral("8481.80.99"));
        QCOMPARE(excel.LeerCelda(4, 6), QStringLiteral("ALEMANIA"));
        QCOMPARE(excel.LeerCelda(2, 7), QString());
        // A text file holds the weight as written; the others hold a number shown with a comma.
        QCOMPARE(excel.LeerCelda(15, 5), ext == QStringLiteral("csv") ? QStringLiteral("11.4") : QStringLiteral("11,4"));
        excel.CerrarArchivo();
    }
};

QTEST_GUILESS_MAIN(clEcxelTest)
#include "clEcxel_test.moc"
