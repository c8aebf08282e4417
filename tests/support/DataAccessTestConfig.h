#pragma once

#include "database/EmbeddedDatabases.h"

#include <QList>
#include <QPair>
#include <QString>

class TestEnvironment;

// Points the data-access component at given databases by writing its conexiones.ini
// into a TestEnvironment's configuration folder. Without any such file the component
// uses (and on first use creates) the embedded SQLite databases in the environment's
// data folder, which is often all a test needs.
//
//   DataAccessTestConfig config(env);
//   config.sqliteFolder(env.path("bases")).write();
class DataAccessTestConfig {
public:
    explicit DataAccessTestConfig(const TestEnvironment &env);

    // Creates catalogos.sqlite and systablas.sqlite with the embedded schema and sample
    // rows in folder, unless they exist.
    static void createSqliteDatabases(const QString &folder) { EmbeddedDatabases::ensure(folder); }
    static QString catalogosFile(const QString &folder) { return EmbeddedDatabases::catalogosFile(folder); }
    static QString systablasFile(const QString &folder) { return EmbeddedDatabases::systablasFile(folder); }

    // Both entities on the SQLite files of createSqliteDatabases(folder), created here.
    DataAccessTestConfig &sqliteFolder(const QString &folder, const QString &tag = QStringLiteral("SQL"));
    // QPSQL with the options the "postgres" test fixture started (PostgresTestServer).
    DataAccessTestConfig &postgres(const QString &entity, const QString &database,
                                   const QString &tag = QStringLiteral("SQL"));
    // QODBC with a DSN-less connection string, e.g. "DRIVER={SQLite3};Database=/x.sqlite".
    DataAccessTestConfig &odbc(const QString &entity, const QString &connectionString, const QString &dialect,
                               const QString &tag = QStringLiteral("SQL"));
    // Both entities on one backend: "sqlite", "odbc sqlite", "postgres" or "odbc postgres" (on
    // database, created afresh), then write(); "" when written, else why not.
    QString backend(const QString &kind, const QString &folder, const QString &database,
                    const QString &tag = QStringLiteral("SQL"));
    // Any section, keys as in the configuration file (Driver, BaseDatos, Tipo, ...).
    DataAccessTestConfig &entity(const QString &entity, const QList<QPair<QString, QString>> &keys);

    // Writes the file and returns its path.
    QString write() const;
    static QString iniPath(const TestEnvironment &env);

private:
    QString m_path;
    QString m_text;
};
