#include "lote/Lote.h"

#include "mapping/CampoCatalogo.h"
#include "mapping/CamposRecordados.h"

#include "sheet/SheetFiles.h"
#include "support/DataAccessTestConfig.h"
#include "support/DataTable.h"
#include "support/Fakes.h"
#include "support/PostgresTestServer.h"
#include "support/TestEnvironment.h"

#include <QJsonArray>
#include <QMap>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QTextStream>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {
// standard_conforming_strings of a new session of the test server's database, opened as any
// other program would open it.
QString standardStringsOfANewSession(const QString &database)
{
    const PostgresTestServer pg;
    QString value;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QPSQL"_s, u"otra-sesion"_s);
        db.setHostName(pg.host());
        db.setPort(pg.port());
        db.setUserName(pg.user());
        db.setDatabaseName(database);
        QSqlQuery query(db);
        if (db.open() && query.exec(u"show standard_conforming_strings"_s) && query.next())
            value = query.value(0).toString();
    }
    QSqlDatabase::removeDatabase(u"otra-sesion"_s);
    return value;
}
} // namespace

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

    void hostileValuesChangeNoStatement_data()
    {
        QTest::addColumn<QString>("backend");
        QTest::newRow("sqlite") << u"sqlite"_s;
        QTest::newRow("postgres") << u"postgres"_s;
        QTest::newRow("odbc postgres") << u"odbc postgres"_s;
    }

    // Cells made to break out of their literal: on a PostgreSQL database whose sessions start
    // with standard_conforming_strings off (there a backslash escapes the quote after it), and
    // on SQLite. First a row whose remarks alone are made to run a command of their own,
    // then every hostile row, then all of them again (each updated now). Every row is stored as
    // given, after the cleaning every text gets (apostrophes become blanks; texts read back
    // from the review lose their outer blanks; an insert's description ends in a blank, an
    // update's does not, and an update leaves unit and suffixes alone); no table is created;
    // the summary counts right.
    void hostileValuesChangeNoStatement()
    {
        QFETCH(QString, backend);
        const QString base = u"lote_hostil"_s;
        const QString problem = DataAccessTestConfig(*m_env).backend(backend, m_env->path(u"bases"_s), base);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        useRealData();
        const bool postgres = backend != u"sqlite"_s;
        const QString tables = postgres ? u"select table_name from information_schema.tables where table_schema "
                                          "not in ('pg_catalog', 'information_schema') order by 1"_s
                                        : u"select name from sqlite_master order by 1"_s;
        if (postgres) {
            runSql(u"alter database %1 set standard_conforming_strings = off"_s.arg(base));
            QCOMPARE(standardStringsOfANewSession(base), u"off"_s);
        }
        runSql(u"insert into catarticulos (idcatalogo, idarticulo, descripcion) values ('GEN', 'H-6', 'vieja')"_s);
        const QStringList tablesBefore = SqlRows::rows(*modGlobal::AccesoDatos, u"CATALOGOS"_s, tables);
        modGlobal::reset();

        QString largo;
        while (largo.size() < 100000)
            largo += u"a\\'b;-- \"c\" "_s;
        largo.truncate(100000);
        const QString limpio = QString(largo).replace(u'\'', u' ');
        const QString inyeccion = u",null,null,null,null); create table inyectado (x int); --"_s;
        // Code, description, remarks 1 to 3, unit, suffixes and origin as the sheet has them,
        // then as an insert stores them: description (but for the insert's closing blank),
        // remarks, unit, suffixes and country. An update writes the same but unit and suffixes.
        struct Fila {
            QStringList celdas;
            QStringList guardada;
        };
        const QList<Fila> filas{
            {{u"H-1"_s, u"barra \\ en medio"_s, u"\\"_s, inyeccion, u"\\"_s, u"u\\"_s, u"s\\"_s, {}},
             {u"barra \\ en medio"_s, u"\\"_s, inyeccion, u"\\"_s, u"u\\"_s, u"s\\"_s, {}}},
            {{u"H-6"_s, u"nueva\\"_s, u"\\"_s, inyeccion, u"') --"_s, u"u"_s, u"s"_s, {}},
             {u"nueva\\"_s, u"\\"_s, inyeccion, u") --"_s, u"u"_s, u"s"_s, {}}},
            {{u"H-2\\"_s,
              u"termina en barra\\"_s,
              u"'; drop table catarticulos; --"_s,
              u"x\\'y"_s,
              inyeccion,
              {},
              {},
              u"Bra'sil\\"_s},
             {u"termina en barra\\"_s, u"; drop table catarticulos; --"_s, u"x\\ y"_s, inyeccion, {}, {}, u"BRA"_s}},
            {{u"H-3"_s, u"comillas \"dobles\" y 'simples'"_s, u"a''b"_s, u"\\\\"_s, {}, {}, {}, {}},
             {u"comillas \"dobles\" y  simples"_s, u"a  b"_s, u"\\\\"_s, {}, {}, {}, {}}},
            {{u"H-4;--"_s, u"-- comentario; select 1;"_s, u";"_s, u"--"_s, u"/* x"_s, u"u;"_s, u"s--"_s, {}},
             {u"-- comentario; select 1;"_s, u";"_s, u"--"_s, u"/* x"_s, u"u;"_s, u"s--"_s, {}}},
            {{u"H-5"_s, largo, largo, {}, {}, {}, {}, {}}, {limpio, limpio, {}, {}, {}, {}, {}}},
        };
        const auto hoja = [&](const QString &name, qsizetype rows) {
            QJsonArray sheet{
                QJsonArray{"Codigo", "Descripcion", "Obs1", "Obs2", "Obs3", "Unidad", "Sufijos", "Origen"}};
            for (qsizetype i = 0; i < rows; ++i)
                sheet.append(QJsonArray::fromStringList(filas[i].celdas));
            return SheetFiles::write(m_dir, name, sheet);
        };
        const QString inyectada = hoja(u"inyeccion.csv"_s, 1), hostil = hoja(u"hostil.csv"_s, filas.size());
        QVERIFY(!inyectada.isEmpty() && !hostil.isEmpty());
        QStringList args{u"--catalogo=GEN"_s, u"--pais=Bra'sil\\=BRA"_s};
        const char *fields[] = {"ARTICULO",     "DESCRIPCION", "OBSERVACION1", "OBSERVACION2",
                                "OBSERVACION3", "UNIDAD",      "SUFIJOS",      "PAIS_ORIGEN"};
        for (int c = 0; c < 8; ++c)
            args << u"--campo=%1=%2"_s.arg(QChar(u'A' + c), QLatin1String(fields[c]));

        // Each run: its sheet and rows, its summary and the codes it inserted.
        const struct {
            QString sheet;
            qsizetype rows;
            QString summary;
            QStringList inserted;
        } runs[] = {
            {inyectada,
             1,
             u"Filas leídas: 1; artículos: 1; nuevos: 1; existentes: 0; enviados: 1; sin cambios: 0\n"_s,
             {u"H-1"_s}},
            {hostil,
             filas.size(),
             u"Filas leídas: 6; artículos: 6; nuevos: 4; existentes: 2; enviados: 6; sin cambios: 0\n"_s,
             {u"H-2\\"_s, u"H-3"_s, u"H-4;--"_s, u"H-5"_s}},
            {hostil,
             filas.size(),
             u"Filas leídas: 6; artículos: 6; nuevos: 0; existentes: 6; enviados: 6; sin cambios: 0\n"_s,
             {}},
        };
        QMap<QString, QStringList> want{{u"H-6"_s, {u"vieja"_s, {}, {}, {}, {}, {}, {}}}};
        for (const auto &r : runs) {
            const int status = run(args, r.sheet);
            QVERIFY2(status == 0 && m_err.isEmpty(), qPrintable(m_err.left(2000)));
            QCOMPARE(m_out, r.summary);
            for (const Fila &f : filas.mid(0, r.rows)) {
                const QString codigo = f.celdas[0];
                if (r.inserted.contains(codigo)) {
                    want[codigo] = f.guardada;
                    want[codigo][0] += u' ';
                } else {
                    const QStringList antes = want.value(codigo);
                    want[codigo] = f.guardada;
                    want[codigo][4] = antes[4];
                    want[codigo][5] = antes[5];
                }
            }
            useRealData();
            QMap<QString, QStringList> got;
            for (const QString &row : SqlRows::rows(*modGlobal::AccesoDatos, u"CATALOGOS"_s,
                                                    u"select idarticulo, descripcion, observacion1, observacion2, "
                                                    "observacion3, idunidad, sufijos, IdPais from catarticulos"_s))
                got.insert(row.section(u'|', 0, 0), row.split(u'|').mid(1));
            QCOMPARE(got.keys(), want.keys());
            for (auto it = want.cbegin(); it != want.cend(); ++it)
                QCOMPARE(got.value(it.key()), it.value());
            QCOMPARE(SqlRows::rows(*modGlobal::AccesoDatos, u"CATALOGOS"_s, tables), tablesBefore);
            modGlobal::reset();
        }
        useRealData();
        QCOMPARE(sqlRow(u"select ORI from ORG where PAI = 'Bra sil\\'"_s), QStringList{u"BRA"_s});
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
        QCOMPARE(m_out, u"Nuevos: 2 · Existentes: 0 (0 cambian, 0 sin cambios)\n"
                        "Filas leídas: 2; artículos: 2; nuevos: 2; existentes: 0; enviados: 0; sin cambios: 0\n"_s);
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

    // Reviewing tells how many existing articles the update would change and writes each
    // change; the report stays the one written without them.
    void reviewForeseesTheChanges()
    {
        useRealData();
        runSql(u"insert into catarticulos (idcatalogo, idarticulo, descripcion, IdPais) values "
               "('GEN', 'A-1', 'Tuerca', 'BRA'), ('GEN', 'A-2', 'vieja', null)"_s);
        modGlobal::reset();
        const QString report = m_env->path(u"revision.txt"_s), changes = m_env->path(u"cambios.txt"_s);
        const QStringList args{u"--catalogo"_s, u"GEN"_s,        u"--campo"_s, u"A=ARTICULO"_s,
                               u"--pais"_s,     u"Brasil=BRA"_s, u"--campo"_s, u"C=PAIS_ORIGEN"_s,
                               u"--revisar"_s,  u"--reporte"_s,  report};
        QCOMPARE(run(args), 0);
        QFile plain(report);
        QVERIFY(plain.open(QIODevice::ReadOnly));
        const QByteArray without = plain.readAll();
        plain.close();
        QCOMPARE(run(args + QStringList{u"--cambios"_s, changes}), 0);
        QCOMPARE(m_out, u"Nuevos: 0 · Existentes: 2 (1 cambian, 1 sin cambios)\n"
                        "Filas leídas: 2; artículos: 2; nuevos: 0; existentes: 2; enviados: 0; sin cambios: 0\n"_s);
        QFile f(changes);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("A-2\tDescripcion\tvieja\tArandela\r\n"));
        QVERIFY(plain.open(QIODevice::ReadOnly));
        QCOMPARE(plain.readAll(), without);
        QCOMPARE(without, QByteArray("A-1\tTuerca\t\t\tExiste\t\t\t0\tBRA\t\t\t\t\t\t\r\n"
                                     "A-2\tArandela\t\t\tExiste\t\t\t0\t\t\t\t\t\t\t\r\n"));
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
