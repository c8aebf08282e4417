#include "external/ComponentRegistry.h"
#include "external/database/DAMMain.h"
#include "external/database/DataAccessErrors.h"
#include "platform/AppError.h"
#include "support/DataAccessTestConfig.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QtTest>

namespace {

bool query(DataAccessManager &dam, const QString &entity, const QString &sql, std::shared_ptr<Recordset> &rs)
{
    dam.getDataConnectionByEntity(entity)->setSql(sql);
    return dam.getDataConnectionByEntity(entity)->crearRs(rs);
}

long command(DataAccessManager &dam, const QString &sql)
{
    dam.getDataConnectionByEntity(QStringLiteral("CATALOGOS"))->setSql(sql);
    return dam.getDataConnectionByEntity(QStringLiteral("CATALOGOS"))->ejecutar();
}

QString single(DataAccessManager &dam, const QString &entity, const QString &sql)
{
    std::shared_ptr<Recordset> rs;
    if (!query(dam, entity, sql, rs))
        return QStringLiteral("<no rows>");
    return rs->fields(rs->fieldNames().value(0)).toString();
}

} // namespace

class DAMMainTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void createdByItsName()
    {
        TestEnvironment env;
        auto dam = ComponentRegistry::create<DataAccessManager>(QStringLiteral("DataAccessManager.DAMMain"));
        dam->LoadParameters();
        QCOMPARE(dam->getDataConnectionTAG(QStringLiteral("CATALOGOS")), QStringLiteral("SQL"));
    }

    void embeddedDatabasesCreatedOnFirstUseAndKept()
    {
        TestEnvironment env;
        const QString catalogos = env.dataDir() + QStringLiteral("/sorvanta/catalogos.sqlite");
        QVERIFY(!QFile::exists(catalogos));
        {
            DAMMain dam;
            dam.LoadParameters();
            QVERIFY(QFile::exists(catalogos));
            QVERIFY(QFile::exists(env.dataDir() + QStringLiteral("/sorvanta/systablas.sqlite")));
            QCOMPARE(dam.getDataConnectionTAG(QStringLiteral("SYSTABLAS")), QStringLiteral("SQL"));

            std::shared_ptr<Recordset> rs;
            QVERIFY(query(dam, QStringLiteral("CATALOGOS"),
                          QStringLiteral("select idcatalogo, descripcion from catalogo order by idcatalogo"), rs));
            QStringList seen;
            for (; !rs->eof(); rs->moveNext())
                seen << rs->fields(QStringLiteral("idcatalogo")).toString() + QLatin1Char('=')
                            + rs->fields(QStringLiteral("Descripcion")).toString();
            QCOMPARE(seen, QStringList({QStringLiteral("GEN=General"), QStringLiteral("PUR=Compras")}));

            QCOMPARE(single(dam, QStringLiteral("SYSTABLAS"), QStringLiteral("select count(*) from PAIS")),
                     QStringLiteral("249"));
            QCOMPARE(single(dam, QStringLiteral("SYSTABLAS"), QStringLiteral("select Descripcion from PAIS where id = 'esp'")),
                     QStringLiteral("España"));
            QCOMPARE(single(dam, QStringLiteral("CATALOGOS"), QStringLiteral("pragma journal_mode")), QStringLiteral("wal"));
            QCOMPARE(single(dam, QStringLiteral("CATALOGOS"), QStringLiteral("pragma synchronous")), QStringLiteral("1"));
            QCOMPARE(command(dam, QStringLiteral("insert into catalogo values ('NUE', 'Nuevo')")), 1L);
        }
        DAMMain again;
        again.LoadParameters();
        QCOMPARE(single(again, QStringLiteral("CATALOGOS"), QStringLiteral("select count(*) from catalogo")),
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
        QCOMPARE(single(dam, QStringLiteral("CATALOGOS"), QStringLiteral("select count(*) from catalogo")),
                 QStringLiteral("2"));
        QVERIFY(!QFile::exists(env.dataDir() + QStringLiteral("/sorvanta/catalogos.sqlite")));
    }

    void consecutiveCallsGiveTheSameConnection()
    {
        TestEnvironment env;
        DAMMain dam;
        dam.LoadParameters();
        auto first = dam.getDataConnectionByEntity(QStringLiteral("CATALOGOS"));
        first->setSql(QStringLiteral("select 1"));
        auto second = dam.getDataConnectionByEntity(QStringLiteral("CATALOGOS"));
        QCOMPARE(second.get(), first.get());
        QCOMPARE(second->sql(), QStringLiteral("select 1"));
        QVERIFY(dam.getDataConnectionByEntity(QStringLiteral("SYSTABLAS")).get() != first.get());
    }

    void recordsetSemantics()
    {
        TestEnvironment env;
        DAMMain dam;
        dam.LoadParameters();
        command(dam, QStringLiteral("insert into catarticulos (idcatalogo, idarticulo, ncm) values ('PUR', 'A1', null)"));
        command(dam, QStringLiteral("insert into catarticulos (idcatalogo, idarticulo, ncm) values ('PUR', 'A2', '84713000')"));

        std::shared_ptr<Recordset> rs;
        QVERIFY(query(dam, QStringLiteral("CATALOGOS"),
                      QStringLiteral("select idarticulo, ncm from catarticulos order by idarticulo"), rs));
        QCOMPARE(rs->fields(QStringLiteral("IDARTICULO")).toString(), QStringLiteral("A1"));
        QVERIFY(rs->fields(QStringLiteral("NCM")).isNull());
        QCOMPARE(rs->fields(QStringLiteral("NCM")).toString() + QString(), QString());
        rs->moveNext();
        QVERIFY(!rs->eof());
        QCOMPARE(rs->fields(QStringLiteral("Ncm")).toString(), QStringLiteral("84713000"));
        rs->moveNext();
        QVERIFY(rs->eof());

        // A recordset already held is replaced, also by an empty one.
        QVERIFY(!query(dam, QStringLiteral("CATALOGOS"),
                       QStringLiteral("select ncm from catarticulos where idarticulo = 'nada'"), rs));
        QVERIFY(rs);
        QVERIFY(rs->eof());
        QCOMPARE(rs->fieldNames(), QStringList(QStringLiteral("ncm")));
    }

    void textKeysIgnoreLetterCase()
    {
        TestEnvironment env;
        DAMMain dam;
        dam.LoadParameters();
        command(dam, QStringLiteral("insert into catarticulos (idcatalogo, idarticulo) values ('PUR', 'ab-1')"));
        command(dam, QStringLiteral("insert into ORG (PAI, ORI, ESM) values ('Alemania', 'DEU', '1')"));
        QCOMPARE(single(dam, QStringLiteral("CATALOGOS"),
                        QStringLiteral("select idarticulo from catarticulos where idcatalogo = 'pur' and idarticulo = 'AB-1'")),
                 QStringLiteral("ab-1"));
        QCOMPARE(single(dam, QStringLiteral("CATALOGOS"), QStringLiteral("select ORI from ORG where PAI = 'ALEMANIA'")),
                 QStringLiteral("DEU"));
        QCOMPARE(single(dam, QStringLiteral("SYSTABLAS"), QStringLiteral("select id from PAIS where id = 'arg'")),
                 QStringLiteral("ARG"));
        try {
            command(dam, QStringLiteral("insert into catarticulos (idcatalogo, idarticulo) values ('pur', 'AB-1')"));
            QFAIL("a key differing only in letter case was accepted");
        } catch (const AppError &e) {
            QCOMPARE(e.number(), DataAccessErrors::kStatement);
        }
    }

    void commandsReportRowsChangedAndRejections()
    {
        TestEnvironment env;
        DAMMain dam;
        dam.LoadParameters();
        QCOMPARE(command(dam, QStringLiteral("update catalogo set descripcion = descripcion")), 2L);
        QCOMPARE(command(dam, QStringLiteral("update catalogo set descripcion = 'x' where idcatalogo = 'ZZZ'")), 0L);
        try {
            command(dam, QStringLiteral("insert into nada values (1)"));
            QFAIL("no error");
        } catch (const AppError &e) {
            QCOMPARE(e.number(), -2147217900);
            QCOMPARE(e.source(), QStringLiteral("DataAccessManager.DAMMain"));
            QCOMPARE(e.description(), QStringLiteral("no such table: nada"));
        }
        std::shared_ptr<Recordset> rs;
        QVERIFY_THROWS_EXCEPTION(AppError, query(dam, QStringLiteral("CATALOGOS"), QStringLiteral("select from"), rs));
    }

    void statementsInProgramFormOnTheEmbeddedDatabase()
    {
        TestEnvironment env;
        DAMMain dam;
        dam.LoadParameters();
        QCOMPARE(command(dam, QStringLiteral(
                                  "insert into catarticulos (idcatalogo, idarticulo, descripcion, descripcion_maria, ncm, "
                                  "ArtKgUnitario, IdPais, USUARIO, FECHA, [observacion1], [observacion2], [observacion3] , "
                                  "idunidad, sufijos) values ('PUR','A-1','TECLADO ','','8471300000',01.50,'ARG','U', "
                                  "GETDATE() ,'o1','','','UN','')")),
                 1L);
        QCOMPARE(command(dam, QStringLiteral("update catarticulos set  Descripcion = Descripcion + ' USB' ,  "
                                             "[observacion1] = 'o.k' ,  FECHA = #2026/03/09#  where idcatalogo = 'PUR' "
                                             "and idarticulo = 'A-1'")),
                 1L);
        std::shared_ptr<Recordset> rs;
        QVERIFY(query(dam, QStringLiteral("CATALOGOS"),
                      QStringLiteral("select descripcion, observacion1, FECHA, ArtKgUnitario from catarticulos"), rs));
        QCOMPARE(rs->fields(QStringLiteral("Descripcion")).toString(), QStringLiteral("TECLADO  USB"));
        QCOMPARE(rs->fields(QStringLiteral("observacion1")).toString(), QStringLiteral("o.k"));
        QCOMPARE(rs->fields(QStringLiteral("fecha")).toString(), QStringLiteral("2026-03-09"));
        QCOMPARE(rs->fields(QStringLiteral("artkgunitario")).toDouble(), 1.5);
    }

    void configuredSqliteFilesAndKind()
    {
        TestEnvironment env;
        const QString folder = env.path(QStringLiteral("bases"));
        DataAccessTestConfig(env).sqliteFolder(folder, QStringLiteral("ACCESS")).write();
        DAMMain dam;
        dam.LoadParameters();
        QCOMPARE(dam.getDataConnectionTAG(QStringLiteral("CATALOGOS")), QStringLiteral("ACCESS"));
        QCOMPARE(dam.settings(QStringLiteral("catalogos")).database, DataAccessTestConfig::catalogosFile(folder));
        QVERIFY(!QFile::exists(env.dataDir() + QStringLiteral("/sorvanta/catalogos.sqlite")));
        QCOMPARE(single(dam, QStringLiteral("CATALOGOS"), QStringLiteral("select count(*) from catalogo")),
                 QStringLiteral("2"));
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
        file.write("\xEF\xBB\xBF; conexiones\r\n[catalogos]\r\ndriver = QSQLITE\r\nBASEDATOS = "
                   + DataAccessTestConfig::catalogosFile(folder).toUtf8()
                   + "\r\nTipo=ACCESS\r\n\r\n# tablas del sistema\r\n[SYSTABLAS]\r\nDriver=QSQLITE\r\nBaseDatos=../../bases/"
                     "systablas.sqlite\r\n");
        file.close();
        DAMMain dam;
        dam.LoadParameters();
        QCOMPARE(dam.getDataConnectionTAG(QStringLiteral("CATALOGOS")), QStringLiteral("ACCESS"));
        QCOMPARE(dam.settings(QStringLiteral("SYSTABLAS")).database, DataAccessTestConfig::systablasFile(folder));
        // Loading again replaces the connections.
        dam.LoadParameters();
        QCOMPARE(single(dam, QStringLiteral("SYSTABLAS"), QStringLiteral("select count(*) from PAIS")),
                 QStringLiteral("249"));
    }

    void configurationFaults_data()
    {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<QString>("description");
        const QString systablas = QStringLiteral("[SYSTABLAS]\nDriver=QSQLITE\nBaseDatos=bases/systablas.sqlite\n");
        QTest::newRow("missing entity") << systablas
                                        << QStringLiteral("Falta la entidad \"CATALOGOS\" en la configuración de "
                                                          "conexiones \"%1\"");
        QTest::newRow("no driver") << QStringLiteral("[CATALOGOS]\nBaseDatos=x\n") + systablas
                                   << QStringLiteral("Falta el controlador (Driver) de la entidad \"CATALOGOS\" de \"%1\"");
        QTest::newRow("unknown driver")
            << QStringLiteral("[CATALOGOS]\nDriver=QMYSQL\nBaseDatos=x\n") + systablas
            << QStringLiteral("El controlador \"QMYSQL\" de la entidad \"CATALOGOS\" de \"%1\" no es válido; se "
                              "admiten: QSQLITE, QPSQL, QODBC");
        QTest::newRow("no database") << QStringLiteral("[CATALOGOS]\nDriver=QPSQL\n") + systablas
                                     << QStringLiteral("Falta la base de datos (BaseDatos) de la entidad \"CATALOGOS\" de \"%1\"");
        QTest::newRow("kind in lower case")
            << QStringLiteral("[CATALOGOS]\nDriver=QSQLITE\nBaseDatos=bases/catalogos.sqlite\nTipo=sql\n") + systablas
            << QStringLiteral("El tipo \"sql\" de la entidad \"CATALOGOS\" de \"%1\" no es válido; se admiten SQL y ACCESS");
        QTest::newRow("dialect")
            << QStringLiteral("[CATALOGOS]\nDriver=QODBC\nBaseDatos=DSN=x\nDialecto=oracle\n") + systablas
            << QStringLiteral("El dialecto \"oracle\" de la entidad \"CATALOGOS\" de \"%1\" no es válido; se admiten "
                              "native, sqlite y postgres");
        QTest::newRow("port") << QStringLiteral("[CATALOGOS]\nDriver=QPSQL\nBaseDatos=x\nPuerto=cinco\n") + systablas
                              << QStringLiteral("El puerto \"cinco\" de la entidad \"CATALOGOS\" de \"%1\" no es válido");
        QTest::newRow("line") << QStringLiteral("[CATALOGOS]\nDriver QPSQL\n") + systablas
                              << QStringLiteral("Línea 2 de la configuración de conexiones \"%1\" no válida: Driver QPSQL");
        QTest::newRow("missing file")
            << QStringLiteral("[CATALOGOS]\nDriver=QSQLITE\nBaseDatos=bases/otra.sqlite\n") + systablas
            << QStringLiteral("No existe la base de datos \"%2/bases/otra.sqlite\" de la entidad \"CATALOGOS\"");
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
        try {
            dam.LoadParameters();
            QFAIL("no error");
        } catch (const AppError &e) {
            QCOMPARE(e.number(), -2147467259);
            QCOMPARE(e.source(), QStringLiteral("DataAccessManager.DAMMain"));
            QCOMPARE(e.description(), QString(description)
                                          .replace(QStringLiteral("%1"), path)
                                          .replace(QStringLiteral("%2"), env.configDir() + QStringLiteral("/sorvanta")));
        }
        // Nothing half-loaded: no entity answers after a failed load.
        QVERIFY_THROWS_EXCEPTION(AppError, dam.getDataConnectionTAG(QStringLiteral("SYSTABLAS")));
    }

    void unreadableConfiguration()
    {
        TestEnvironment env;
        QVERIFY(QDir().mkpath(DataAccessTestConfig::iniPath(env)));
        DAMMain dam;
        try {
            dam.LoadParameters();
            QFAIL("no error");
        } catch (const AppError &e) {
            QCOMPARE(e.number(), DataAccessErrors::kConnection);
            QVERIFY2(e.description().startsWith(QStringLiteral("No se pudo leer la configuración de conexiones \"")
                                                + DataAccessTestConfig::iniPath(env) + QStringLiteral("\": ")),
                     qPrintable(e.description()));
        }
    }

    void refusedConnection()
    {
        TestEnvironment env;
        DataAccessTestConfig::createSqliteDatabases(env.path(QStringLiteral("bases")));
        DataAccessTestConfig(env)
            .entity(QStringLiteral("CATALOGOS"), {{QStringLiteral("Driver"), QStringLiteral("QPSQL")},
                                                  {QStringLiteral("Servidor"), QStringLiteral("127.0.0.1")},
                                                  {QStringLiteral("Puerto"), QStringLiteral("1")},
                                                  {QStringLiteral("BaseDatos"), QStringLiteral("nada")}})
            .sqlite(QStringLiteral("SYSTABLAS"), DataAccessTestConfig::systablasFile(env.path(QStringLiteral("bases"))))
            .write();
        DAMMain dam;
        try {
            dam.LoadParameters();
            QFAIL("no error");
        } catch (const AppError &e) {
            QCOMPARE(e.number(), DataAccessErrors::kConnection);
            QVERIFY2(e.description().startsWith(
                         QStringLiteral("No se pudo conectar con la base de datos de la entidad \"CATALOGOS\": ")),
                     qPrintable(e.description()));
        }
    }

    void unknownEntity()
    {
        TestEnvironment env;
        DAMMain dam;
        dam.LoadParameters();
        try {
            dam.getDataConnectionByEntity(QStringLiteral("VENTAS"));
            QFAIL("no error");
        } catch (const AppError &e) {
            QCOMPARE(e.number(), DataAccessErrors::kConnection);
            QCOMPARE(e.description(), QStringLiteral("La entidad \"VENTAS\" no está configurada"));
        }
    }
};

QTEST_GUILESS_MAIN(DAMMainTest)
#include "DAMMain_test.moc"
