#include "lote/Lote.h"

#include "mapping/CampoCatalogo.h"
#include "mapping/CamposRecordados.h"

#include "sheet/SheetFiles.h"
#include "support/DataTable.h"
#include "support/Fakes.h"
#include "support/TestEnvironment.h"

#include <QJsonArray>
#include <QTest>
#include <QTextStream>

using namespace Qt::StringLiterals;

// The batch front end on the real embedded databases, with no GUI application at all.
class LoteTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestEnvironment> m_env;
    QTemporaryDir m_dir;
    QString m_sheet;
    QString m_origins;
    QString m_out, m_err;

    int run(const QStringList &extra, const QString &sheet = QString())
    {
        m_out.clear();
        m_err.clear();
        QTextStream salida(&m_out), errores(&m_err);
        return EjecutarLote(QStringList{sheet.isEmpty() ? m_sheet : sheet} + extra, salida, errores, false);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_sheet = SheetFiles::write(m_dir, u"lista.csv"_s,
                                    QJsonArray{QJsonArray{"Codigo", "[ DESCRIPCION ]", "Origen"},
                                               QJsonArray{"A-1", "Tuerca", "Brasil"},
                                               QJsonArray{"A-2", "Arandela", ""}});
        QVERIFY(!m_sheet.isEmpty());
        m_origins = SheetFiles::write(
            m_dir, u"origenes.csv"_s,
            QJsonArray{QJsonArray{"Codigo", "Descripcion", "Origen"}, QJsonArray{"P-1", "Tuerca", "Alemanha"},
                       QJsonArray{"P-2", "Perno", "德国"}, QJsonArray{"P-3", "Clavo", "Nacional"},
                       QJsonArray{"P-4", "Arandela", "EE.UU."}, QJsonArray{"P-5", "Remache", "Alemanha"}});
        QVERIFY(!m_origins.isEmpty());
    }
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup()
    {
        modGlobal::reset();
        m_env.reset();
    }

    // tests/data/lote-rechazos.json: the options, the exit status and what the errors say.
    void refusesWhatCannotBeDone_data() { DataTable::addRows(u"lote-rechazos.json"_s); }
    void refusesWhatCannotBeDone()
    {
        QFETCH(QJsonObject, c);
        QCOMPARE(run(DataTable::texts(c[u"args"_s])), c[u"status"_s].toInt());
        QVERIFY2(m_err.contains(c[u"says"_s].toString()), qPrintable(m_err));
        QVERIFY(m_out.isEmpty());
        useRealData();
        QCOMPARE(articleCount(), 0);
    }

    // Reviewing writes the report as the window exports it, and sends nothing; the run
    // after it sends.
    void reviewOnlyWritesTheReport()
    {
        const QString report = m_env->path(u"revision.txt"_s);
        const QStringList args{u"--catalogo"_s, u"GEN"_s,     u"--campo"_s,       u"A=ARTICULO"_s, u"--pais"_s,
                               u"Brasil=BRA"_s, u"--campo"_s, u"C=PAIS_ORIGEN"_s, u"--reporte"_s,  report};
        QCOMPARE(run(args + QStringList{u"--revisar"_s}), 0);
        QCOMPARE(m_out, u"Filas leídas: 2; artículos: 2; nuevos: 2; existentes: 0; enviados: 0; sin cambios: 0\n"_s);
        QFile f(report);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(),
                 "A-1\tTuerca\t\t\tNuevo\t\t\t0\tBRA\t\t\t\t\t\t\r\nA-2\tArandela\t\t\tNuevo\t\t\t0\t\t\t\t\t\t\t\r\n");
        useRealData();
        QCOMPARE(articleCount(), 0);
        QCOMPARE(sqlRow(u"select ORI, ESM from ORG where PAI = 'Brasil'"_s), (QStringList{u"BRA"_s, u"1"_s}));
        modGlobal::reset();
        QCOMPARE(run(args), 0);
        QCOMPARE(m_out, u"Filas leídas: 2; artículos: 2; nuevos: 2; existentes: 0; enviados: 2; sin cambios: 0\n"_s);
        useRealData();
        QCOMPARE(sqlRow(u"select descripcion, IdPais from catarticulos where idarticulo = 'A-1'"_s),
                 (QStringList{u"Tuerca "_s, u"BRA"_s}));
    }

    // The fields the window remembered for the catalog label the columns no --campo names,
    // unless a --campo names the field; the columns labelled so are told.
    void rememberedColumns_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("told");
        QTest::addColumn<QString>("notTold");
        const QStringList base{u"--catalogo=GEN"_s, u"--pais=Brasil=BRA"_s, u"--revisar"_s};
        QTest::newRow("remembered only")
            << base + QStringList{u"--campos-recordados"_s} << 0
            << u"Columnas con el campo de la carga anterior en el catálogo GEN:\n  A \"Codigo\": [ ARTICULO ]\n"
               u"  C \"Origen\": [ PAIS_ORIGEN ]\n"_s
            << u"  B "_s;
        QTest::newRow("--campo names the field")
            << base + QStringList{u"--campos-recordados"_s, u"--campo=B=ARTICULO"_s} << 0
            << u"  C \"Origen\": [ PAIS_ORIGEN ]"_s << u"  A "_s;
        QTest::newRow("--campo names the column") << base + QStringList{u"--campos-recordados"_s, u"--campo=A=NCM"_s}
                                                  << 2 << u"  C \"Origen\": [ PAIS_ORIGEN ]"_s << u"  A "_s;
        QTest::newRow("without the option")
            << base << 2 << u"Falta seleccionar columnas, mínimo Artículo y Una más"_s << u"Columnas"_s;
        QTest::newRow("another catalog") << QStringList{u"--catalogo=PUR"_s, u"--campos-recordados"_s} << 2
                                         << u"Ningún encabezado tiene un campo recordado para el catálogo PUR"_s
                                         << u"  A "_s;
    }
    void rememberedColumns()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, told);
        QFETCH(QString, notTold);
        CamposRecordados(u"GEN"_s).recordar({u"CÓDIGO"_s, u"Origen"_s}, {etiquetaCampo(CampoCatalogo::Articulo),
                                                                         etiquetaCampo(CampoCatalogo::PaisOrigen)});
        QCOMPARE(run(args), status);
        QVERIFY2(m_err.contains(told), qPrintable(m_err));
        QVERIFY2(!m_err.contains(notTold), qPrintable(m_err));
    }

    // Suggested countries are stored and told; a text with none still ends the run with 3
    // and sends nothing, until a --pais names it.
    void suggestedCountries()
    {
        const QStringList args{u"--catalogo=GEN"_s, u"--campo=A=ARTICULO"_s, u"--campo=B=DESCRIPCION"_s,
                               u"--campo=C=PAIS_ORIGEN"_s, u"--paises-sugeridos"_s};
        QCOMPARE(run(args, m_origins), 3);
        QVERIFY2(m_err.contains(u"País sugerido para \"Alemanha\": DEU\n"_s), qPrintable(m_err));
        QVERIFY2(m_err.contains(u"País sugerido para \"德国\": DEU\n"_s), qPrintable(m_err));
        QVERIFY2(m_err.contains(u"País sugerido para \"EE.UU.\": USA\n"_s), qPrintable(m_err));
        QVERIFY2(m_err.contains(u"  \"Nacional\", fila 4\n"_s), qPrintable(m_err));
        QCOMPARE(m_err.count(u"País sugerido"_s), 3);
        useRealData();
        QCOMPARE(articleCount(), 0);
        QCOMPARE(sqlRow(u"select ORI, ESM from ORG where PAI = 'Alemanha'"_s), (QStringList{u"DEU"_s, u"1"_s}));
        modGlobal::reset();
        QCOMPARE(run(args + QStringList{u"--pais=Nacional=ARG"_s}, m_origins), 0);
        QVERIFY2(!m_err.contains(u"País sugerido"_s), qPrintable(m_err));
        useRealData();
        QCOMPARE(sqlRow(u"select IdPais from catarticulos where idarticulo = 'P-4'"_s), QStringList{u"USA"_s});
        QCOMPARE(sqlRow(u"select IdPais from catarticulos where idarticulo = 'P-3'"_s), QStringList{u"ARG"_s});
    }

    // Without the option nothing is suggested: every unknown text ends the run with 3.
    void noSuggestionsUnlessAsked()
    {
        QCOMPARE(run({u"--catalogo=GEN"_s, u"--campo=A=ARTICULO"_s, u"--campo=C=PAIS_ORIGEN"_s}, m_origins), 3);
        QVERIFY2(m_err.contains(u"  \"Alemanha\", fila 2\n"_s), qPrintable(m_err));
        QVERIFY(!m_err.contains(u"sugerido"_s));
    }
};

QTEST_GUILESS_MAIN(LoteTest)
#include "Lote_test.moc"
