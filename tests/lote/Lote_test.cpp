#include "lote/Lote.h"

#include "sheet/SheetFiles.h"
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
    QString m_out, m_err;

    int run(const QStringList &extra)
    {
        m_out.clear();
        m_err.clear();
        QTextStream salida(&m_out), errores(&m_err);
        return EjecutarLote(QStringList{m_sheet} + extra, salida, errores, false);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_sheet = SheetFiles::write(m_dir, u"lista.csv"_s,
                                    QJsonArray{QJsonArray{"Codigo", "[ DESCRIPCION ]", "Origen"},
                                               QJsonArray{"A-1", "Tuerca", "Brasil"},
                                               QJsonArray{"A-2", "Arandela", ""}});
        QVERIFY(!m_sheet.isEmpty());
    }
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup()
    {
        modGlobal::reset();
        m_env.reset();
    }

    void refusesWhatCannotBeDone_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says");
        QTest::newRow("no catalog") << QStringList{} << 2 << u"Falta el catálogo: --catalogo ID"_s;
        QTest::newRow("unknown option") << QStringList{u"--catalogo=GEN"_s, u"--rapido"_s} << 2
                                        << u"Opción desconocida: --rapido"_s;
        QTest::newRow("unknown catalog") << QStringList{u"--catalogo=XYZ"_s} << 2
                                         << u"No existe el catálogo \"XYZ\". Catálogos: GEN, PUR"_s;
        // Without --campo only labelled headers count: the description alone is not enough.
        QTest::newRow("article not mapped")
            << QStringList{u"--catalogo=GEN"_s} << 2 << u"Falta seleccionar columnas, mínimo Artículo y Una más"_s;
        QTest::newRow("no such column") << QStringList{u"--catalogo=GEN"_s, u"--campo=Z=ARTICULO"_s} << 2
                                        << u"La hoja no tiene la columna \"Z\""_s;
        QTest::newRow("no such field") << QStringList{u"--catalogo=GEN"_s, u"--campo=A=PRECIO"_s} << 2
                                       << u"No existe el campo \"PRECIO\""_s;
        QTest::newRow("no such country") << QStringList{u"--catalogo=GEN"_s, u"--campo=A=ARTICULO"_s,
                                                        u"--pais=Brasil=XXX"_s}
                                         << 2 << u"El país \"XXX\" de --pais Brasil=XXX no está en la tabla PAIS"_s;
        QTest::newRow("unknown origin") << QStringList{u"--catalogo=GEN"_s, u"--campo=A=ARTICULO"_s,
                                                       u"--campo=origen=pais_origen"_s}
                                        << 3 << u"  \"Brasil\", fila 2"_s;
    }
    void refusesWhatCannotBeDone()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, says);
        QCOMPARE(run(args), status);
        QVERIFY2(m_err.contains(says), qPrintable(m_err));
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
};

QTEST_GUILESS_MAIN(LoteTest)
#include "Lote_test.moc"
