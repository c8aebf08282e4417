#include "MemoryExcel.h"

#include "platform/ErrorNumbers.h"
#include "sheet/clEcxel.h"
#include "support/Fakes.h"

using namespace Qt::StringLiterals;

class clEcxelTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale(u"en_US"_s)); }
    void cleanup()
    {
        ComponentRegistry::reset();
        QLocale::setDefault(QLocale::c());
    }

    void withoutAWorkbook()
    {
        MemoryExcel::install(std::make_shared<SheetData>());
        clEcxel excel;
        QCOMPARE(excel.LeerCelda(1, 1), QString());
        excel.EscribirCelda(1, 1, u"x"_s);
        const AppError e = errorOf([&] { excel.Abrir(true); });
        QCOMPARE(e.number(), ErrorNumbers::kSpreadsheet);
        QCOMPARE(e.source(), u"[clExcel.Abrir]"_s);
        QCOMPARE(e.description(), u"No hay archivo seleccionado2"_s);
        excel.CerrarArchivo();
        QCOMPARE(excel.LeerCelda(1, 1), QString());
    }

    void opensReadOnlyReadsWritesAndCloses()
    {
        auto data = std::make_shared<SheetData>();
        data->set(2, 3, CellValue::fromText(u"VAL-1020-A"_s));
        data->set(1, 1, CellValue::fromError(u"#DIV/0!"_s));
        auto log = MemoryExcel::install(data);
        log->failClosingWorkbooks = true;
        clEcxel excel;
        excel.Archivo(u"/tmp/lista.xlsx"_s);
        QVERIFY(excel.Abrir(true));
        QCOMPARE(excel.LeerCelda(2, 3), u"VAL-1020-A"_s);
        QCOMPARE(excel.LeerCelda(3, 2), QString());
        excel.EscribirCelda(3, 2, u"China"_s);
        QCOMPARE(excel.LeerCelda(3, 2), u"China"_s);
        const AppError e = errorOf([&] { excel.LeerCelda(1, 1); });
        QCOMPARE(e.number(), ErrorNumbers::kTypeMismatch);
        QCOMPARE(e.source(), u"[clExcel.LeerCelda]"_s);
        QCOMPARE(e.description(), u"No coinciden los tipos"_s);
        excel.CerrarArchivo();
        // A failing close of the workbooks still closes the application, silently.
        QCOMPARE(log->calls, (QStringList{u"open /tmp/lista.xlsx 1 1 0"_s, u"closeWorkbooks"_s, u"close"_s}));
    }

    // Damaged files are refused through the loader's test; a missing one only reaches here.
    void missingFileRaisesFromAbrir()
    {
        clEcxel excel;
        excel.Archivo(u"/no/existe.xlsx"_s);
        const AppError e = errorOf([&] { excel.Abrir(true); });
        QCOMPARE(e.source(), u"[clExcel.Abrir]"_s);
        QVERIFY2(e.description().size() > 1 && e.description().endsWith(u'3'), qPrintable(e.description()));
    }
};

QTEST_GUILESS_MAIN(clEcxelTest)
#include "clEcxel_test.moc"
