#include "core/AppError.h"
#include "database/DAMMain.h"
#include "database/DataAccessErrors.h"
#include "support/DataAccessTestConfig.h"
#include "support/PostgresTestServer.h"
#include "support/SqlRows.h"
#include "support/TestEnvironment.h"

#include <QDate>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <clocale>

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
        DataAccessTestConfig config(*m_env);
        const QString folder = m_env->path(QStringLiteral("bases"));
        if (backend == QLatin1String("QSQLITE")) {
            config.sqliteFolder(folder);
        } else if (backend == QLatin1String("QODBC SQLite3")) {
            DataAccessTestConfig::createSqliteDatabases(folder);
            config.odbc(QStringLiteral("CATALOGOS"),
                        QStringLiteral("DRIVER={SQLite3};Database=") + DataAccessTestConfig::catalogosFile(folder),
                        QStringLiteral("sqlite"));
            config.odbc(QStringLiteral("SYSTABLAS"),
                        QStringLiteral("DRIVER={SQLite3};Database=") + DataAccessTestConfig::systablasFile(folder),
                        QStringLiteral("sqlite"));
        } else {
            PostgresTestServer pg;
            const QString database = QStringLiteral("dam_backends");
            if (!pg.createDatabase(database, true)) {
                problem = pg.problem();
                return false;
            }
            if (backend == QLatin1String("QPSQL")) {
                config.postgres(QStringLiteral("CATALOGOS"), database).postgres(QStringLiteral("SYSTABLAS"), database);
            } else {
                const QString odbc = QStringLiteral("DRIVER={PostgreSQL Unicode};Server=%1;Port=%2;Database=%3;Uid=%4;")
                                         .arg(pg.host())
                                         .arg(pg.port())
                                         .arg(database, pg.user());
                config.odbc(QStringLiteral("CATALOGOS"), odbc, QStringLiteral("postgres"))
                    .odbc(QStringLiteral("SYSTABLAS"), odbc, QStringLiteral("postgres"));
            }
        }
        config.write();
        return true;
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
            QTest::addRow("sqlite%s", suffix) << QStringLiteral("QSQLITE") << comma;
            QTest::addRow("postgres%s", suffix) << QStringLiteral("QPSQL") << comma;
            QTest::addRow("odbc sqlite%s", suffix) << QStringLiteral("QODBC SQLite3") << comma;
            QTest::addRow("odbc postgres%s", suffix) << QStringLiteral("QODBC PostgreSQL") << comma;
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

        // Insert of kind SQL, lookup with other letter case, update appending to the description.
        const QDate before = QDate::currentDate();
        QCOMPARE(
            command(QStringLiteral(
                "insert into catarticulos (idcatalogo, idarticulo, descripcion, descripcion_maria, ncm, "
                "ArtKgUnitario, IdPais, USUARIO, FECHA, [observacion1], [observacion2], [observacion3] , idunidad, "
                "sufijos) values ('PUR','A-1','TECLADO ','','8471300000',01.50,'ARG','Sorvanta - u\\pc', GETDATE() "
                ",'o1','','','UN','')")),
            1L);
        QCOMPARE(first(QStringLiteral("select ncm from catarticulos where idcatalogo = 'pur' and idarticulo = 'a-1'")),
                 QStringLiteral("8471300000"));
        const QString fecha = first(QStringLiteral("select FECHA from catarticulos"));
        QVERIFY2(fecha.startsWith(before.toString(Qt::ISODate))
                     || fecha.startsWith(QDate::currentDate().toString(Qt::ISODate)),
                 qPrintable(fecha));
        QCOMPARE(command(QStringLiteral("update catarticulos set  Descripcion = Descripcion + ' USB' ,  "
                                        "[observacion1] = 'a.b' ,  USUARIO = 'U' ,  FECHA = GETDATE()  where "
                                        "idcatalogo = 'PUR' and idarticulo = 'A-1'")),
                 1L);
        QCOMPARE(first(QStringLiteral("select descripcion from catarticulos")), QStringLiteral("TECLADO  USB"));
        QCOMPARE(first(QStringLiteral("select ArtKgUnitario from catarticulos")).toDouble(), 1.5);
        QCOMPARE(command(QStringLiteral("update catarticulos set  ArtKgUnitario = 1234.25 where idarticulo = 'A-1'")),
                 1L);
        QCOMPARE(first(QStringLiteral("select ArtKgUnitario from catarticulos")).toDouble(), 1234.25);

        // Insert of kind ACCESS: a #date# literal; null columns read as empty text.
        QCOMPARE(
            command(QStringLiteral("insert into catarticulos (idcatalogo, idarticulo, descripcion, "
                                   "descripcion_maria, ncm, ArtKgUnitario, IdPais, USUARIO, FECHA, idunidad, "
                                   "sufijos ) values ('GEN','B-2','MOUSE ','','84716053',00.00,'','U',#2026/03/09#,"
                                   "'','')")),
            1L);
        QVERIFY(
            first(QStringLiteral("select FECHA from catarticulos where idarticulo = 'B-2'")).startsWith("2026-03-09"));
        QCOMPARE(first(QStringLiteral("select observacion1 from catarticulos where idarticulo = 'B-2'")), QString());

        // Origin countries: store a mapping, find it in another letter case, read PAIS.
        QCOMPARE(command(QStringLiteral("insert into ORG (PAI, ORI, ESM) values ('Alemania','DEU','1')")), 1L);
        QCOMPARE(first(QStringLiteral("select ORI, ESM from ORG where PAI = 'ALEMANIA'")), QStringLiteral("DEU"));
        QCOMPARE(
            first(QStringLiteral("select id, Descripcion from PAIS order by Descripcion"), QStringLiteral("SYSTABLAS")),
            QStringLiteral("AFG"));
        QCOMPARE(first(QStringLiteral("select Descripcion from PAIS where id = 'afg'"), QStringLiteral("SYSTABLAS")),
                 QStringLiteral("Afganistán"));
        QCOMPARE(first(QStringLiteral("select count(*) from PAIS"), QStringLiteral("SYSTABLAS")),
                 QStringLiteral("249"));

        // A rejected statement: the database's own message.
        const QString error = SqlRows::failure([&] {
            command(QStringLiteral("insert into catarticulos (idcatalogo, idarticulo) values ('pur', 'A-1')"));
        });
        QVERIFY2(error.startsWith(QString::number(DataAccessErrors::kStatement) + u' ')
                     && error.contains(QStringLiteral("unique"), Qt::CaseInsensitive),
                 qPrintable(error));
        QCOMPARE(command(QStringLiteral("update catarticulos set USUARIO = 'x' where idarticulo = 'nada'")), 0L);
    }

    void connectionDroppedByTheServerIsReopened_data()
    {
        QTest::addColumn<QString>("backend");
        QTest::newRow("postgres") << QStringLiteral("QPSQL");
        QTest::newRow("odbc postgres") << QStringLiteral("QODBC PostgreSQL");
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
};

QTEST_GUILESS_MAIN(DAMMainBackendsTest)
#include "DAMMainBackends_test.moc"
