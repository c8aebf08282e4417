#include "core/AppError.h"
#include "database/ConsultasPostgres.h"
#include "database/DAMMain.h"
#include "database/DataAccessErrors.h"
#include "database/FilaCodificada.h"
#include "support/DataAccessTestConfig.h"
#include "support/DataTable.h"
#include "support/SqlRows.h"
#include "support/TestEnvironment.h"

#include <QDate>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <clocale>

using namespace Qt::StringLiterals;

namespace {

// Switches the C library's numbers to a decimal comma, as the program runs under an
// es_AR user (QCoreApplication takes the user's LC_NUMERIC). The locale is compiled
// into a private folder, so nothing is needed from the system but its sources.
bool useDecimalComma(QString &problem)
{
    static QTemporaryDir dir;
    static const bool built = QProcess::execute(QStringLiteral("localedef"),
                                                {QStringLiteral("-i"), QStringLiteral("es_AR"), QStringLiteral("-f"),
                                                 QStringLiteral("UTF-8"), dir.filePath(QStringLiteral("es_AR.UTF-8"))})
                                  >= 0
                              && QFileInfo::exists(dir.filePath(QStringLiteral("es_AR.UTF-8")));
    qputenv("LOCPATH", dir.path().toUtf8());
    if (!built || !std::setlocale(LC_NUMERIC, "es_AR.UTF-8") || std::localeconv()->decimal_point != QByteArray(",")) {
        problem = QStringLiteral("cannot build the es_AR.UTF-8 locale (package locales)");
        return false;
    }
    return true;
}

} // namespace

// The same program statements through every kind of backend the component reaches.
class DAMMainBackendsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<DAMMain> m_dam;

    bool query(const QString &entity, const QString &sql, std::shared_ptr<Recordset> &rs)
    {
        m_dam->getDataConnectionByEntity(entity)->setSql(sql);
        return m_dam->getDataConnectionByEntity(entity)->crearRs(rs);
    }

    long command(const QString &sql) { return SqlRows::execute(*m_dam, QStringLiteral("CATALOGOS"), sql); }

    QString first(const QString &sql, const QString &entity = QStringLiteral("CATALOGOS"))
    {
        return SqlRows::first(*m_dam, entity, sql);
    }

    // Writes the configuration of one backend; false (with the reason) when it cannot.
    bool configure(const QString &backend, QString &problem)
    {
        problem = DataAccessTestConfig(*m_env).backend(backend, m_env->path(QStringLiteral("bases")),
                                                       QStringLiteral("dam_backends"));
        return problem.isEmpty();
    }

    // A run that inserts a row, does `enMedio`, inserts another and commits: what happened in
    // the middle, caught there, must leave both rows standing.
    void runAround(const std::function<void(DatabaseConnection &)> &enMedio)
    {
        const auto c = m_dam->getDataConnectionByEntity(u"CATALOGOS"_s);
        c->comenzarTanda();
        c->setSql(Sentencia("insert into catalogo (idcatalogo, descripcion) values ('RUN', 'antes')"));
        c->ejecutar();
        enMedio(*c);
        c->setSql(Sentencia("insert into catalogo (idcatalogo, descripcion) values ('RUN2', 'despues')"));
        c->ejecutar();
        c->confirmarTanda();
        c->terminarTanda();
        QCOMPARE(first(u"select count(*) from catalogo where idcatalogo in ('RUN', 'RUN2')"_s), u"2"_s);
    }

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }

    void cleanup()
    {
        std::setlocale(LC_NUMERIC, "C");
        m_dam.reset();
        m_env.reset();
    }

    void programStatements_data()
    {
        QTest::addColumn<QString>("backend");
        QTest::addColumn<bool>("decimalComma");
        for (const bool comma : {false, true}) {
            const char *suffix = comma ? ", decimal comma" : "";
            QTest::addRow("sqlite%s", suffix) << QStringLiteral("sqlite") << comma;
            QTest::addRow("postgres%s", suffix) << QStringLiteral("postgres") << comma;
            QTest::addRow("odbc sqlite%s", suffix) << QStringLiteral("odbc sqlite") << comma;
            QTest::addRow("odbc postgres%s", suffix) << QStringLiteral("odbc postgres") << comma;
        }
    }

    void programStatements()
    {
        QFETCH(QString, backend);
        QFETCH(bool, decimalComma);
        QString problem;
        if (decimalComma)
            QVERIFY2(useDecimalComma(problem), qPrintable(problem));
        QVERIFY2(configure(backend, problem), qPrintable(problem));
        m_dam = std::make_unique<DAMMain>();
        m_dam->LoadParameters();
        QCOMPARE(m_dam->getDataConnectionTAG(QStringLiteral("CATALOGOS")), QStringLiteral("SQL"));

        // Catalog selector.
        std::shared_ptr<Recordset> rs;
        QVERIFY(query(QStringLiteral("CATALOGOS"),
                      QStringLiteral("select idcatalogo, descripcion from catalogo order by idcatalogo"), rs));
        QStringList catalogs;
        for (; !rs->eof(); rs->moveNext())
            catalogs << QStringLiteral("[%1] %2").arg(rs->fields(QStringLiteral("idcatalogo")).toString(),
                                                      rs->fields(QStringLiteral("Descripcion")).toString());
        QCOMPARE(catalogs, QStringList({QStringLiteral("[GEN] General"), QStringLiteral("[PUR] Compras")}));

        // The statements of tests/data/sentencias-backends.json in turn: the rows each
        // command affects, or the first value each query gives.
        const QDate before = QDate::currentDate();
        for (const QJsonValue &step : DataTable::read(QStringLiteral("sentencias-backends.json"))) {
            const QString sql = step[QLatin1String("sql")].toString();
            const QString entity = step[QLatin1String("entity")].toString(QStringLiteral("CATALOGOS"));
            if (step[QLatin1String("affects")].isDouble()) {
                QCOMPARE(SqlRows::execute(*m_dam, entity, sql), long(step[QLatin1String("affects")].toInt()));
                continue;
            }
            const QString value = first(sql, entity);
            QString start = step[QLatin1String("startsWith")].toString();
            if (start == QLatin1String("{today}")) // the day the statement ran: it may have just turned
                start = (value.startsWith(before.toString(Qt::ISODate)) ? before : QDate::currentDate())
                            .toString(Qt::ISODate);
            QVERIFY2(value.startsWith(start), qPrintable(sql + QStringLiteral(": ") + value));
            if (step[QLatin1String("gives")].isString())
                QCOMPARE(value, step[QLatin1String("gives")].toString());
            if (step[QLatin1String("number")].isDouble())
                QCOMPARE(value.toDouble(), step[QLatin1String("number")].toDouble());
        }

        // A text value reaches the row as it was, whatever marks of SQL or of parameters it
        // holds, and a question finds it by itself.
        const QString hostile = u"O'Brien \\n \\' ? ?1 :name $1 @p -- /* ; \"x\" [y] #2026/1/1# + 'fin"_s;
        Sentencia insert("insert into ORG (PAI, ORI, ESM) values (");
        insert.texto(hostile) << QLatin1String(",");
        insert.texto(u"ARG"_s) << QLatin1String(",");
        insert.texto(u"N"_s) << QLatin1String(")");
        QCOMPARE(SqlRows::execute(*m_dam, QStringLiteral("CATALOGOS"), insert), 1L);
        m_dam->getDataConnectionByEntity(QStringLiteral("CATALOGOS"))
            ->setSql(Sentencia("select PAI, ORI from ORG where PAI = ").texto(hostile));
        QVERIFY(m_dam->getDataConnectionByEntity(QStringLiteral("CATALOGOS"))->crearRs(rs));
        QCOMPARE(rs->fields(QStringLiteral("PAI")).toString(), hostile);
        QCOMPARE(first(QStringLiteral("select count(*) from ORG where ORI = 'ARG' and ESM = 'N'")),
                 QStringLiteral("1"));

        // A rejected statement: the database's own message.
        const QString error = SqlRows::failure([&] {
            command(QStringLiteral("insert into catarticulos (idcatalogo, idarticulo) values ('pur', 'A-1')"));
        });
        QVERIFY2(error.startsWith(QString::number(DataAccessErrors::kStatement) + u' ')
                     && error.contains(QStringLiteral("unique"), Qt::CaseInsensitive),
                 qPrintable(error));
    }

    void connectionDroppedByTheServerIsReopened_data()
    {
        QTest::addColumn<QString>("backend");
        QTest::newRow("postgres") << QStringLiteral("postgres");
        QTest::newRow("odbc postgres") << QStringLiteral("odbc postgres");
    }

    void connectionDroppedByTheServerIsReopened()
    {
        QFETCH(QString, backend);
        QString problem;
        QVERIFY2(configure(backend, problem), qPrintable(problem));
        m_dam = std::make_unique<DAMMain>();
        m_dam->LoadParameters();
        std::shared_ptr<Recordset> rs;
        try {
            query(QStringLiteral("CATALOGOS"), QStringLiteral("select pg_terminate_backend(pg_backend_pid())"), rs);
        } catch (const AppError &e) {
            QVERIFY(!e.description().isEmpty());
        }
        QCOMPARE(first(QStringLiteral("select idcatalogo from catalogo where idcatalogo = 'gen'")),
                 QStringLiteral("GEN"));
        QCOMPARE(command(QStringLiteral("update catalogo set descripcion = 'General' where idcatalogo = 'GEN'")), 1L);
    }

    // A question asked again is prepared on the session and asked by name from then on: its
    // answer is the written-out question's, whatever its values hold, and a new session
    // prepares it afresh.
    void questionAskedAgainIsPrepared()
    {
        QString problem;
        QVERIFY2(configure(QStringLiteral("postgres"), problem), qPrintable(problem));
        m_dam = std::make_unique<DAMMain>();
        m_dam->LoadParameters();
        const QStringList codigos{u"O'Brien"_s, u"C:\\dir\\"_s, u"Ñandú ñ"_s, u"gen"_s};
        for (const QString &codigo : codigos.mid(0, 3))
            command(u"insert into catalogo (idcatalogo, descripcion) values ('%1', 'd %1')"_s.arg(
                QString(codigo).replace(u"'"_s, u"''"_s)));
        const auto preguntar = [&](const QString &codigo) {
            Sentencia sql(u"select idcatalogo, descripcion from catalogo where idcatalogo = "_s);
            sql.texto(codigo);
            std::shared_ptr<Recordset> rs;
            m_dam->getDataConnectionByEntity(u"CATALOGOS"_s)->setSql(sql);
            if (!m_dam->getDataConnectionByEntity(u"CATALOGOS"_s)->crearRs(rs))
                return QString();
            return rs->fields(u"idcatalogo"_s).toString() + u'|' + rs->fields(u"descripcion"_s).toString();
        };
        const auto preparadas = [&] {
            return first(u"select count(*) from pg_prepared_statements where name like 'sorvanta_consulta_%'"_s);
        };
        for (int vuelta = 0; vuelta < 2; ++vuelta) {
            for (const QString &codigo : codigos.mid(0, 3))
                QCOMPARE(preguntar(codigo), codigo + u"|d "_s + codigo);
            // Told apart as the catalog tells its codes: without regard to case.
            QCOMPARE(preguntar(codigos[3]), u"GEN|General"_s);
            QCOMPARE(preguntar(u"nada"_s), QString());
            QCOMPARE(preparadas(), u"1"_s);
            std::shared_ptr<Recordset> rs;
            try {
                query(u"CATALOGOS"_s, u"select pg_terminate_backend(pg_backend_pid())"_s, rs);
            } catch (const AppError &e) {
                QVERIFY(!e.description().isEmpty());
            }
        }
    }

    // Inside a run's transaction a PREPARE the server refuses (it cannot tell the type of the
    // value) takes the run back to its savepoint only: what the run did before stands, and the
    // question is answered written out.
    void refusedPrepareInsideARunLosesNothing()
    {
        QString problem;
        QVERIFY2(configure(QStringLiteral("postgres"), problem), qPrintable(problem));
        m_dam = std::make_unique<DAMMain>();
        m_dam->LoadParameters();
        runAround([](DatabaseConnection &c) {
            for (int vez = 0; vez < 3; ++vez) {
                Sentencia sql("select ");
                sql.texto(u"abcd"_s) << QLatin1String(" is null, 4");
                c.setSql(sql);
                std::shared_ptr<Recordset> rs;
                QVERIFY(c.crearRs(rs));
                QCOMPARE(rs->field(1).toInt(), 4);
            }
        });
    }

    // Rows read straight from the server are the bytes of the values Qt's driver makes of them,
    // whatever the column types, nulls and special numbers; a failing question inside a run
    // takes the run back to its savepoint only.
    void encodedRowsAreThoseOfTheDriversValues()
    {
        QString problem;
        QVERIFY2(configure(QStringLiteral("postgres"), problem), qPrintable(problem));
        m_dam = std::make_unique<DAMMain>();
        m_dam->LoadParameters();
        command(u"create table tipos (t text, v varchar(12), c char(5), i2 smallint, i4 integer, i8 bigint, "
                "r4 real, r8 double precision, n numeric(20, 6), b boolean, d date)"_s);
        command(u"insert into tipos values ('Ñandú o''Brien', 'çé', 'ab', -3, 2147483647, -9000000000000000000, "
                "0.1, 0.1, 1.500000, true, '2024-02-29'), (null, null, null, null, null, null, null, null, null, "
                "null, null), ('', ' ', '', 0, 0, 0, 'NaN', 'Infinity', 'NaN', false, '1999-12-31'), "
                "('x', 'y', 'z', 1, 1, 1, '-Infinity', 2.0, 12345678901234.5, true, '2000-01-01'), "
                "('a', 'b', 'c', 1, 1, 1, 1e-30, 1e300, -0.000001, false, '2000-01-02')"_s);
        const auto c = m_dam->getDataConnectionByEntity(u"CATALOGOS"_s);
        const auto same = [&](const QString &select) {
            c->setSql(select);
            std::shared_ptr<Recordset> rs;
            QVERIFY(c->crearRs(rs));
            std::vector<QByteArray> expected;
            for (; !rs->eof(); rs->moveNext())
                expected.push_back(FilaCodificada::codificar(rs->fila()));
            std::vector<QByteArray> read{QByteArray("kept")};
            c->setSql(select);
            QVERIFY(c->leerCodificadas(read));
            QCOMPARE(read.size(), expected.size() + 1);
            QCOMPARE(read.front(), QByteArray("kept"));
            for (std::size_t i = 0; i < expected.size(); ++i)
                QCOMPARE(read[i + 1], expected[i]);
        };
        same(u"select t, v, c, i2, i4, i8, r4, r8, n from tipos order by t nulls first"_s);
        same(u"select * from tipos order by t nulls first"_s);
        std::vector<QByteArray> none;
        c->setSql(u"select t from tipos where false"_s);
        QVERIFY(!c->leerCodificadas(none));
        QVERIFY(none.empty());
        runAround([&none](DatabaseConnection &c) {
            c.setSql(u"select 1 / (i4 - i4) from tipos"_s);
            QVERIFY_THROWS_EXCEPTION(AppError, c.leerCodificadas(none));
            QVERIFY(none.empty());
        });
    }

    // A long list of keys is read in one pass over the table only where the table holds a few
    // times those rows: the round trips of grouped questions are saved, and a large table is
    // never read whole for a small part of it. Asking never harms a run in progress.
    void onePassOnlyOverATableOfAFewTimesTheRows()
    {
        QString problem;
        QVERIFY2(configure(QStringLiteral("postgres"), problem), qPrintable(problem));
        m_dam = std::make_unique<DAMMain>();
        m_dam->LoadParameters();
        const auto c = m_dam->getDataConnectionByEntity(u"CATALOGOS"_s);
        QVERIFY(c->leerEnUnaPasada(u"catarticulos"_s, 300));
        QVERIFY(!c->leerEnUnaPasada(u"catarticulos"_s, 200));
        command(u"insert into catarticulos (idcatalogo, idarticulo, descripcion) "
                "select 'GEN', 'A-' || g, repeat('x', 200) from generate_series(1, 5000) g"_s);
        QVERIFY(!c->leerEnUnaPasada(u"catarticulos"_s, 300));
        QVERIFY(c->leerEnUnaPasada(u"catarticulos"_s, 5000));
        runAround([](DatabaseConnection &c) {
            QVERIFY(!c.leerEnUnaPasada(u"no_hay_tal'); drop table catalogo; --"_s, 5000));
        });
    }

    // Questions of ever new shapes, each asked twice, never leave more than the bound of
    // prepared ones on the server, and keep their answers.
    void preparedShapesStayBounded()
    {
        QString problem;
        QVERIFY2(configure(QStringLiteral("postgres"), problem), qPrintable(problem));
        m_dam = std::make_unique<DAMMain>();
        m_dam->LoadParameters();
        int mayor = 0;
        for (int largo = 1; largo <= ConsultasPostgres::kMaxPreparadas + 8; ++largo) {
            Sentencia sql(u"select count(*) from catalogo where idcatalogo in ("_s);
            for (int i = 0; i < largo; ++i) {
                if (i > 0)
                    sql << QLatin1String(", ");
                sql.texto(i == largo - 1 ? u"gen"_s : u"no-%1"_s.arg(i));
            }
            sql << QLatin1String(")");
            for (int vez = 0; vez < 2; ++vez) {
                std::shared_ptr<Recordset> rs;
                m_dam->getDataConnectionByEntity(u"CATALOGOS"_s)->setSql(sql);
                QVERIFY(m_dam->getDataConnectionByEntity(u"CATALOGOS"_s)->crearRs(rs));
                QCOMPARE(rs->field(0).toInt(), 1);
            }
            mayor = std::max(mayor, first(u"select count(*) from pg_prepared_statements"_s).toInt());
        }
        QVERIFY(mayor > 0);
        QVERIFY2(mayor <= ConsultasPostgres::kMaxPreparadas, qPrintable(QString::number(mayor)));
    }
};

QTEST_GUILESS_MAIN(DAMMainBackendsTest)
#include "DAMMainBackends_test.moc"
