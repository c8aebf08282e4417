#include "lote/Lote.h"

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
};

QTEST_GUILESS_MAIN(LoteTest)
#include "Lote_test.moc"
