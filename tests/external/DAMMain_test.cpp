#include "external/ComponentRegistry.h"
#include "external/database/ConnectionSettings.h"
#include "external/database/DAMMain.h"
#include "external/database/DataAccessErrors.h"
#include "platform/AppError.h"
#include "support/DataAccessTestConfig.h"
#include "support/SqlRows.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QtTest>

// The data-access component on real SQLite files: the embedded databases, its recordsets,
// and how it reads (or refuses) its connection configuration. Statements in the program's
// own form, on every backend, are in DAMMainBackends_test.
namespace {

QString first(DataAccessManager &dam, const QString &entity, const QString &sql)
{
    return SqlRows::firstRow(dam, entity, sql).value(0, QStringLiteral("<no rows>"));
}

long command(DataAccessManager &dam, const QString &sql)
{
    dam.getDataConnectionByEntity(QStringLiteral("CATALOGOS"))->setSql(sql);
    return dam.getDataConnectionByEntity(QStringLiteral("CATALOGOS"))->ejecutar();
}

// The error the call raises, as "number description".
template <typename F>
QString failure(F call)
{
    try {
        call();
    } catch (const AppError &e) {
        QTest::qCompare(e.source(), QStringLiteral("DataAccessManager.DAMMain"), "source", "", __FILE__, __LINE__);
        return QString::number(e.number()) + u' ' + e.description();
    }
    return QStringLiteral("(no error)");
}

} // namespace

class DAMMainTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void embeddedDatabasesCreatedOnFirstUseAndKept()
    {
        TestEnvironment env;
        const QString catalogos = env.dataDir() + QStringLiteral("/sorvanta/catalogos.sqlite");
        const QString cat = QStringLiteral("CATALOGOS"), sys = QStringLiteral("SYSTABLAS");
        QVERIFY(!QFile::exists(catalogos));
        {
            auto dam = ComponentRegistry::create<DataAccessManager>(QStringLiteral("DataAccessManager.DAMMain"));
            dam->LoadParameters();
            QVERIFY(QFile::exists(env.dataDir() + QStringLiteral("/sorvanta/systablas.sqlite")));
            QCOMPARE(dam->getDataConnectionTAG(cat), QStringLiteral("SQL"));
            QCOMPARE(first(*dam, cat, QStringLiteral("select group_concat(idcatalogo || '=' || descripcion) from "
                                                     "(select * from catalogo order by idcatalogo)")),
                     QStringLiteral("GEN=General,PUR=Compras"));
            QCOMPARE(first(*dam, sys, QStringLiteral("select count(*) from PAIS")), QStringLiteral("249"));
            QCOMPARE(first(*dam, sys, QStringLiteral("select Descripcion from PAIS where id = 'esp'")),
                     QStringLiteral("España"));
            QCOMPARE(first(*dam, cat, QStringLiteral("pragma journal_mode")), QStringLiteral("wal"));
            QCOMPARE(first(*dam, cat, QStringLiteral("pragma synchronous")), QStringLiteral("1"));

            // Text keys ignore letter case, so a key differing only in case is a duplicate.
            QCOMPARE(command(*dam, QStringLiteral("insert into catalogo values ('NUE', 'Nuevo')")), 1L);
            QCOMPARE(first(*dam, sys, QStringLiteral("select id from PAIS where id = 'arg'")), QStringLiteral("ARG"));
            command(*dam, QStringLiteral("insert into catarticulos (idcatalogo, idarticulo) values ('PUR', 'ab-1')"));
            QCOMPARE(first(*dam, cat, QStringLiteral("select idarticulo from catarticulos where idcatalogo = 'pur' "
                                                     "and idarticulo = 'AB-1'")),
                     QStringLiteral("ab-1"));
            QCOMPARE(failure([&] {
                         command(*dam, QStringLiteral("insert into catarticulos (idcatalogo, idarticulo) "
                                                      "values ('pur', 'AB-1')"));
                     })
                         .section(u' ', 0, 0),
                     QString::number(DataAccessErrors::kStatement));
            QCOMPARE(command(*dam, QStringLiteral("update catalogo set descripcion = descripcion")), 3L);
            QCOMPARE(failure([&] { command(*dam, QStringLiteral("insert into nada values (1)")); }),
                     QStringLiteral("-2147217900 no such table: nada"));
            QVERIFY_THROWS_EXCEPTION(AppError, first(*dam, cat, QStringLiteral("select from")));
        }
        DAMMain again;
        again.LoadParameters();
        QCOMPARE(first(again, QStringLiteral("CATALOGOS"), QStringLiteral("select count(*) from catalogo")),
                 QStringLiteral("3"));
        QVERIFY(!QFile::exists(catalogos + QStringLiteral(".nueva")));
    }

    void embeddedDatabasesInAGivenFolder()
    {
        TestEnvironment env;
        const QString folder = env.path(QStringLiteral("banco"));
        DAMMain dam;
        dam.loadEmbedded(folder);
        QCOMPARE(dam.settings(QStringLiteral("SYSTABLAS")).database, folder + QStringLiteral("/systablas.sqlite"));
        QCOMPARE(first(dam, QStringLiteral("CATALOGOS"), QStringLiteral("select count(*) from catalogo")),
                 QStringLiteral("2"));
        QVERIFY(!QFile::exists(env.dataDir() + QStringLiteral("/sorvanta/catalogos.sqlite")));
    }

    void connectionsAndRecordsets()
    {
        TestEnvironment env;
        DAMMain dam;
        dam.LoadParameters();
        // Consecutive calls give the same connection, with the statement set on it.
        auto connection = dam.getDataConnectionByEntity(QStringLiteral("CATALOGOS"));
        connection->setSql(QStringLiteral("select 1"));
        QCOMPARE(dam.getDataConnectionByEntity(QStringLiteral("CATALOGOS")).get(), connection.get());
        QCOMPARE(connection->sql(), QStringLiteral("select 1"));
        QVERIFY(dam.getDataConnectionByEntity(QStringLiteral("SYSTABLAS")).get() != connection.get());
        QCOMPARE(failure([&] { dam.getDataConnectionByEntity(QStringLiteral("VENTAS")); }),
                 QStringLiteral("%1 La entidad \"VENTAS\" no está configurada").arg(DataAccessErrors::kConnection));

        command(dam, QStringLiteral("insert into catarticulos (idcatalogo, idarticulo, ncm) values ('PUR', 'A1', null)"));
        command(dam, QStringLiteral("insert into catarticulos (idcatalogo, idarticulo, ncm) values ('PUR', 'A2', '847')"));
        std::shared_ptr<Recordset> rs;
        connection->setSql(QStringLiteral("select idarticulo, ncm from catarticulos order by idarticulo"));
        QVERIFY(connection->crearRs(rs));
        // Field names in any letter case; null reads as a null, empty text.
        QCOMPARE(rs->fields(QStringLiteral("IDARTICULO")).toString(), QStringLiteral("A1"));
        QVERIFY(rs->fields(QStringLiteral("NCM")).isNull());
        QCOMPARE(rs->fields(QStringLiteral("NCM")).toString(), QString());
        rs->moveNext();
        QCOMPARE(rs->fields(QStringLiteral("Ncm")).toString(), QStringLiteral("847"));
        rs->moveNext();
        QVERIFY(rs->eof());
        // A recordset already held is replaced, also by an empty one.
        connection->setSql(QStringLiteral("select ncm from catarticulos where idarticulo = 'nada'"));
        QVERIFY(!connection->crearRs(rs));
        QVERIFY(rs && rs->eof());
        QCOMPARE(rs->fieldNames(), QStringList(QStringLiteral("ncm")));
    }

    void configurationWrittenOnWindowsAndReloaded()
    {
        TestEnvironment env;
        const QString folder = env.path(QStringLiteral("bases"));
        DataAccessTestConfig::createSqliteDatabases(folder);
        const QString path = DataAccessTestConfig::iniPath(env);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        // BOM, CR LF, comments, keys in any case, a path relative to the file.
        file.write("\xEF\xBB\xBF; conexiones\r\n[catalogos]\r\ndriver = QSQLITE\r\nBASEDATOS = "
                   + DataAccessTestConfig::catalogosFile(folder).toUtf8()
                   + "\r\nTipo=ACCESS\r\n\r\n# tablas del sistema\r\n[SYSTABLAS]\r\nDriver=QSQLITE\r\nBaseDatos=../../bases/"
                     "systablas.sqlite\r\n");
        file.close();
        DAMMain dam;
        dam.LoadParameters();
        QCOMPARE(dam.getDataConnectionTAG(QStringLiteral("CATALOGOS")), QStringLiteral("ACCESS"));
        QCOMPARE(dam.settings(QStringLiteral("SYSTABLAS")).database, DataAccessTestConfig::systablasFile(folder));
        dam.LoadParameters(); // loading again replaces the connections
        QCOMPARE(first(dam, QStringLiteral("SYSTABLAS"), QStringLiteral("select count(*) from PAIS")),
                 QStringLiteral("249"));
        QVERIFY(!QFile::exists(env.dataDir() + QStringLiteral("/sorvanta/catalogos.sqlite")));
    }

    void shippedExampleReadsAsDocumented()
    {
        const auto entities = ConnectionSettings::read(QStringLiteral(SORVANTA_SOURCE_DIR "/sql/conexiones-ejemplo.ini"));
        QCOMPARE(entities.size(), 2);
        const EntitySettings pg = entities.value(QStringLiteral("CATALOGOS"));
        QCOMPARE(QStringList({pg.driver, pg.host, QString::number(pg.port), pg.database, pg.user, pg.password,
                              pg.options, pg.tag}),
                 QStringList({"QPSQL", "127.0.0.1", "5432", "sorvanta", "sorvanta", "cambiar", "connect_timeout=5", "SQL"}));
        QCOMPARE(pg.dialect, SqlDialect::Postgres);
        const EntitySettings odbc = entities.value(QStringLiteral("SYSTABLAS"));
        QCOMPARE(odbc.driver, QStringLiteral("QODBC"));
        QCOMPARE(odbc.database, QStringLiteral("DRIVER={SQLite3};Database=/srv/sorvanta/systablas.sqlite"));
        QCOMPARE(odbc.dialect, SqlDialect::Sqlite);
    }

    // tests/data/conexiones-invalidas.json: name, configuration, the description it gives
    // (%1 the file, %2 its folder).
    void configurationFaults_data()
    {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<QString>("description");
        QFile f(QStringLiteral(SORVANTA_SOURCE_DIR "/tests/data/conexiones-invalidas.json"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        for (const QJsonValue &row : QJsonDocument::fromJson(f.readAll()).array())
            QTest::newRow(qPrintable(row[0].toString())) << row[1].toString() << row[2].toString();
    }

    void configurationFaults()
    {
        QFETCH(QString, ini);
        QFETCH(QString, description);
        TestEnvironment env;
        DataAccessTestConfig::createSqliteDatabases(env.configDir() + QStringLiteral("/sorvanta/bases"));
        const QString path = DataAccessTestConfig::iniPath(env);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(ini.toUtf8());
        file.close();
        DAMMain dam;
        QCOMPARE(failure([&] { dam.LoadParameters(); }),
                 QStringLiteral("-2147467259 ")
                     + description.replace(QStringLiteral("%1"), path)
                           .replace(QStringLiteral("%2"), env.configDir() + QStringLiteral("/sorvanta")));
        // Nothing half-loaded: no entity answers after a failed load.
        QVERIFY_THROWS_EXCEPTION(AppError, dam.getDataConnectionTAG(QStringLiteral("SYSTABLAS")));
    }

    void unreadableConfigurationAndRefusedConnection()
    {
        TestEnvironment env;
        QVERIFY(QDir().mkpath(DataAccessTestConfig::iniPath(env)));
        DAMMain dam;
        const QString prefix = QString::number(DataAccessErrors::kConnection) + u' ';
        QString error = failure([&] { dam.LoadParameters(); });
        QVERIFY2(error.startsWith(prefix + QStringLiteral("No se pudo leer la configuración de conexiones \"")
                                  + DataAccessTestConfig::iniPath(env) + QStringLiteral("\": ")),
                 qPrintable(error));

        QVERIFY(QDir().rmdir(DataAccessTestConfig::iniPath(env)));
        DataAccessTestConfig::createSqliteDatabases(env.path(QStringLiteral("bases")));
        DataAccessTestConfig(env)
            .entity(QStringLiteral("CATALOGOS"), {{QStringLiteral("Driver"), QStringLiteral("QPSQL")},
                                                  {QStringLiteral("Servidor"), QStringLiteral("127.0.0.1")},
                                                  {QStringLiteral("Puerto"), QStringLiteral("1")},
                                                  {QStringLiteral("BaseDatos"), QStringLiteral("nada")}})
            .sqlite(QStringLiteral("SYSTABLAS"), DataAccessTestConfig::systablasFile(env.path(QStringLiteral("bases"))))
            .write();
        error = failure([&] { dam.LoadParameters(); });
        QVERIFY2(error.startsWith(prefix + QStringLiteral("No se pudo conectar con la base de datos de la entidad "
                                                          "\"CATALOGOS\": ")),
                 qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(DAMMainTest)
#include "DAMMain_test.moc"
