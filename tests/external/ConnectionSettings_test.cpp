#include "external/database/ConnectionSettings.h"
#include "support/TestEnvironment.h"

#include <QtTest>

class ConnectionSettingsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void shippedExampleReadsAsDocumented()
    {
        const auto entities = ConnectionSettings::read(QStringLiteral(SORVANTA_SOURCE_DIR "/sql/conexiones-ejemplo.ini"));
        QCOMPARE(entities.size(), 2);
        const EntitySettings pg = entities.value(QStringLiteral("CATALOGOS"));
        QCOMPARE(pg.driver, QStringLiteral("QPSQL"));
        QCOMPARE(pg.host, QStringLiteral("127.0.0.1"));
        QCOMPARE(pg.port, 5432);
        QCOMPARE(pg.database, QStringLiteral("sorvanta"));
        QCOMPARE(pg.user, QStringLiteral("sorvanta"));
        QCOMPARE(pg.password, QStringLiteral("cambiar"));
        QCOMPARE(pg.options, QStringLiteral("connect_timeout=5"));
        QCOMPARE(pg.tag, QStringLiteral("SQL"));
        QCOMPARE(pg.dialect, SqlDialect::Postgres);
        const EntitySettings odbc = entities.value(QStringLiteral("SYSTABLAS"));
        QCOMPARE(odbc.driver, QStringLiteral("QODBC"));
        QCOMPARE(odbc.database, QStringLiteral("DRIVER={SQLite3};Database=/srv/sorvanta/systablas.sqlite"));
        QCOMPARE(odbc.dialect, SqlDialect::Sqlite);
    }

    void locationsFollowTheUserFolders()
    {
        TestEnvironment env;
        QCOMPARE(ConnectionSettings::configFile(), env.configDir() + QStringLiteral("/sorvanta/conexiones.ini"));
        QCOMPARE(ConnectionSettings::dataFolder(), env.dataDir() + QStringLiteral("/sorvanta"));
    }
};

QTEST_GUILESS_MAIN(ConnectionSettingsTest)
#include "ConnectionSettings_test.moc"
