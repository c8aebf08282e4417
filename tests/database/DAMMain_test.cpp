#include "components/ComponentRegistry.h"
#include "core/AppError.h"
#include "core/modGlobal.h"
#include "database/ConnectionSettings.h"
#include "database/DAMMain.h"
#include "database/DataAccessErrors.h"
#include "support/DataAccessTestConfig.h"
#include "support/DataTable.h"
#include "support/SqlRows.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QtTest>
#include <sys/stat.h>

// The data-access component on real SQLite files: the embedded databases, its recordsets,
// and how it reads (or refuses) its connection configuration. Statements in the program's
// own form, on every backend, are in DAMMainBackends_test.
using SqlRows::failure;
using SqlRows::first;

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
            QCOMPARE(first(*dam, cat, QStringLiteral("pragma journal_mode")), QStringLiteral("wal"));
            QCOMPARE(first(*dam, cat, QStringLiteral("pragma synchronous")), QStringLiteral("1"));

            // Text keys ignore letter case (catalog articles: DAMMainBackends_test).
            QCOMPARE(SqlRows::execute(*dam, cat, QStringLiteral("insert into catalogo values ('NUE', 'Nuevo')")), 1L);
            QCOMPARE(first(*dam, sys, QStringLiteral("select id from PAIS where id = 'arg'")), QStringLiteral("ARG"));
            QCOMPARE(SqlRows::execute(*dam, cat, QStringLiteral("update catalogo set descripcion = descripcion")), 3L);
            QCOMPARE(failure([&] { SqlRows::execute(*dam, cat, QStringLiteral("insert into nada values (1)")); }),
                     QStringLiteral("-2147217900 no such table: nada"));
            QVERIFY_THROWS_EXCEPTION(AppError, first(*dam, cat, QStringLiteral("select from")));
        }
        DAMMain again;
        again.LoadParameters();
        QCOMPARE(first(again, QStringLiteral("CATALOGOS"), QStringLiteral("select count(*) from catalogo")),
                 QStringLiteral("3"));
        QVERIFY(!QFile::exists(catalogos + QStringLiteral(".nueva")));
    }

    void connectionsAndRecordsets()
    {
        TestEnvironment env;
        DAMMain dam;
        dam.LoadParameters();
        auto connection = dam.getDataConnectionByEntity(QStringLiteral("CATALOGOS"));
        QVERIFY(dam.getDataConnectionByEntity(QStringLiteral("SYSTABLAS")).get() != connection.get());
        QCOMPARE(dam.getDataConnectionByEntity(QStringLiteral(" catalogos ")).get(), connection.get());
        QCOMPARE(failure([&] { dam.getDataConnectionByEntity(QStringLiteral("VENTAS")); }),
                 QStringLiteral("%1 La entidad \"VENTAS\" no está configurada").arg(DataAccessErrors::kConnection));
        // Null reads as a null; a recordset already held is replaced, also by an empty one.
        std::shared_ptr<Recordset> rs;
        connection->setSql(QStringLiteral("select null as ncm"));
        QVERIFY(connection->crearRs(rs) && rs->fields(QStringLiteral("NCM")).isNull());
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
        file.write(
            "\xEF\xBB\xBF; conexiones\r\n[catalogos]\r\ndriver = QSQLITE\r\nBASEDATOS = "
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
        const auto entities = ConnectionSettings::read(
            QStringLiteral(SORVANTA_SOURCE_DIR "/sql/conexiones-ejemplo.ini"));
        QCOMPARE(entities.size(), 2);
        const EntitySettings pg = entities.value(QStringLiteral("CATALOGOS"));
        QCOMPARE(
            QStringList(
                {pg.driver, pg.host, QString::number(pg.port), pg.database, pg.user, pg.password, pg.options, pg.tag}),
            QStringList({"QPSQL", "127.0.0.1", "5432", "sorvanta", "sorvanta", "cambiar", "connect_timeout=5", "SQL"}));
        QCOMPARE(pg.dialect, SqlDialect::Postgres);
        const EntitySettings odbc = entities.value(QStringLiteral("SYSTABLAS"));
        QCOMPARE(odbc.driver + u' ' + odbc.database,
                 QStringLiteral("QODBC DRIVER={SQLite3};Database=/srv/sorvanta/systablas.sqlite"));
        QCOMPARE(odbc.dialect, SqlDialect::Sqlite);
    }

    // A password others may read or change is told once, with the fix; the file is still used.
    void passwordInAnOpenFileIsWarned_data()
    {
        QTest::addColumn<QByteArray>("clave");
        QTest::addColumn<int>("permisos");
        QTest::addColumn<bool>("avisado");
        QTest::newRow("owner only") << QByteArray("Clave=S3creto") << 0600 << false;
        QTest::newRow("group reads") << QByteArray("Clave=S3creto") << 0640 << true;
        QTest::newRow("others read") << QByteArray("clave = S3creto") << 0604 << true;
        QTest::newRow("others write") << QByteArray("Clave=S3creto") << 0602 << true;
        QTest::newRow("no password") << QByteArray("Usuario=yo") << 0666 << false;
        QTest::newRow("empty password") << QByteArray("Clave=") << 0644 << false;
    }

    void passwordInAnOpenFileIsWarned()
    {
        QFETCH(QByteArray, clave);
        QFETCH(int, permisos);
        QFETCH(bool, avisado);
        TestEnvironment env;
        const QString folder = env.path(QStringLiteral("bases"));
        DataAccessTestConfig::createSqliteDatabases(folder);
        const QString path = DataAccessTestConfig::iniPath(env);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[CATALOGOS]\nDriver=QSQLITE\nBaseDatos=" + DataAccessTestConfig::catalogosFile(folder).toUtf8()
                   + "\n" + clave + "\n[SYSTABLAS]\nDriver=QSQLITE\nBaseDatos="
                   + DataAccessTestConfig::systablasFile(folder).toUtf8() + "\n");
        file.close();
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode_t(permisos)), 0);
        QStringList avisos;
        const modGlobal::Aviso antes = modGlobal::AvisoDeError;
        modGlobal::AvisoDeError = [&](const QString &texto, const QString &titulo) { avisos << titulo + u'|' + texto; };
        DAMMain dam;
        dam.LoadParameters();
        modGlobal::AvisoDeError = antes;
        QCOMPARE(dam.getDataConnectionTAG(QStringLiteral("CATALOGOS")), QStringLiteral("SQL"));
        const QString aviso =
            QStringLiteral("Configuración de conexiones|La configuración de conexiones \"%1\" guarda una clave y otros "
                           "usuarios del equipo pueden leerla o cambiarla. Para que solo usted pueda leerla y "
                           "cambiarla, ejecute:\n\nchmod 600 '%1'")
                .arg(path);
        QCOMPARE(avisos, avisado ? QStringList{aviso} : QStringList());
    }

    // tests/data/conexiones-invalidas.json: name, configuration (none: a folder in its place),
    // the description it gives (%1 the file, %2 its folder, * any text from there on).
    void configurationFaults_data()
    {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<QString>("description");
        for (const QJsonValue &row : DataTable::read(QStringLiteral("conexiones-invalidas.json")))
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
        if (ini.isEmpty()) // a folder where the file should be
            QVERIFY(QDir().mkpath(path));
        else
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(ini.toUtf8()) > 0);
        file.close();
        DAMMain dam;
        const QString error = failure([&] { dam.LoadParameters(); });
        QString expected = QStringLiteral("-2147467259 ")
                           + description.replace(QStringLiteral("%1"), path)
                                 .replace(QStringLiteral("%2"), env.configDir() + QStringLiteral("/sorvanta"));
        if (expected.endsWith(u'*')) // the rest is the driver's or the system's own text
            QVERIFY2(error.startsWith(expected.chopped(1)), qPrintable(error));
        else
            QCOMPARE(error, expected);
        // Nothing half-loaded: no entity answers after a failed load.
        QVERIFY_THROWS_EXCEPTION(AppError, dam.getDataConnectionTAG(QStringLiteral("SYSTABLAS")));
    }
};

QTEST_GUILESS_MAIN(DAMMainTest)
#include "DAMMain_test.moc"
