#include "lote/Lote.h"

#include "sheet/SheetFiles.h"
#include "support/DataTable.h"
#include "support/Fakes.h"
#include "support/TestEnvironment.h"

#include <QJsonArray>
#include <QTest>
#include <QTextStream>
#include <unistd.h>

using namespace Qt::StringLiterals;

// The batch front end on the real embedded databases, with no GUI application at all.
class LoteTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestEnvironment> m_env;
    QTemporaryDir m_dir;
    QString m_sheet;
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

    // The report is never written over a file the run reads, by whatever path it is named:
    // wrong arguments, and the file as it was.
    void reportNeverReplacesWhatTheRunReads_data()
    {
        QTest::addColumn<QString>("como");
        QTest::addColumn<QString>("que");
        QTest::newRow("the sheet") << u"hoja"_s << u"la planilla"_s;
        QTest::newRow("the sheet by another path") << u"hoja/../"_s << u"la planilla"_s;
        QTest::newRow("a symbolic link to the sheet") << u"enlace"_s << u"la planilla"_s;
        QTest::newRow("a hard link to the sheet") << u"enlace duro"_s << u"la planilla"_s;
        QTest::newRow("the catalog database") << u"catalogos"_s << u"la base de datos de la entidad CATALOGOS"_s;
    }

    void reportNeverReplacesWhatTheRunReads()
    {
        QFETCH(QString, como);
        QFETCH(QString, que);
        const QString bases = m_env->dataDir() + u"/sorvanta/catalogos.sqlite"_s;
        QString reporte = m_sheet;
        QString leido = m_sheet;
        if (como == u"hoja/../"_s) {
            const QFileInfo hoja(m_sheet);
            reporte = hoja.absolutePath() + u"/../"_s + hoja.dir().dirName() + u"/"_s + hoja.fileName();
        } else if (como.startsWith(u"enlace"_s)) {
            reporte = m_env->path(u"reporte.txt"_s);
            const QByteArray desde = QFile::encodeName(m_sheet), hacia = QFile::encodeName(reporte);
            QCOMPARE(como == u"enlace"_s ? ::symlink(desde, hacia) : ::link(desde, hacia), 0);
        } else if (como == u"catalogos"_s) {
            QCOMPARE(run({u"--catalogo"_s, u"GEN"_s, u"--campo"_s, u"A=ARTICULO"_s, u"--revisar"_s}), 0);
            modGlobal::reset();
            reporte = leido = bases;
        }
        QFile hoja(m_sheet);
        QVERIFY(hoja.open(QIODevice::ReadOnly));
        const QByteArray antes = hoja.readAll();
        const qint64 base = QFileInfo(bases).size();
        QCOMPARE(
            run({u"--catalogo"_s, u"GEN"_s, u"--campo"_s, u"A=ARTICULO"_s, u"--reporte"_s, reporte, u"--revisar"_s}),
            2);
        QCOMPARE(m_err, u"El reporte no puede guardarse en \"%1\": es %2 (\"%3\"), que sorvanta-lote lee, y se "
                        "perdería. Indique otro archivo en --reporte.\n"_s.arg(reporte, que, leido));
        QVERIFY(hoja.seek(0));
        QCOMPARE(hoja.readAll(), antes);
        if (leido == bases)
            QCOMPARE(QFileInfo(bases).size(), base);
    }

    // With no grid to fill, every row is read and sent, past the window's 65,534 and across
    // the stretches it is processed in, in the sheet's order.
    void everyRowIsSent()
    {
        const int filas = 70000;
        QString texto = u"Codigo;Descripcion\r\n"_s;
        for (int i = 1; i <= filas; ++i)
            texto += u"L%1;Fila %1\r\n"_s.arg(i);
        const QString lista = m_env->path(u"larga.csv"_s);
        QFile f(lista);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(texto.toUtf8()) > 0);
        f.close();
        const QString reporte = m_env->path(u"larga.txt"_s);
        QCOMPARE(run({u"--catalogo"_s, u"GEN"_s, u"--campo"_s, u"A=ARTICULO"_s, u"--campo"_s, u"B=DESCRIPCION"_s,
                      u"--reporte"_s, reporte},
                     lista),
                 0);
        QCOMPARE(m_out, u"Filas leídas: 70000; artículos: 70000; nuevos: 70000; existentes: 0; enviados: 70000; "
                        "sin cambios: 0\n"_s);
        QVERIFY(m_err.isEmpty());
        QFile r(reporte);
        QVERIFY(r.open(QIODevice::ReadOnly));
        const QList<QByteArray> lineas = r.readAll().split('\n');
        QCOMPARE(lineas.size(), filas + 1);
        for (const int i : {1, 65533, 65534, 65535, filas})
            QVERIFY2(lineas[i - 1].startsWith(u"L%1\tFila %1\t"_s.arg(i).toUtf8()), lineas[i - 1].constData());
        useRealData();
        QCOMPARE(articleCount(), filas);
        QCOMPARE(sqlRow(u"select descripcion from catarticulos where idarticulo = 'L70000'"_s),
                 QStringList{u"Fila 70000 "_s});
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
