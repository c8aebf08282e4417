#pragma once

#include <QString>

// The PostgreSQL server that the "postgres" test fixture starts (scripts/pg-test-server.sh).
// A test that needs it declares FIXTURES_REQUIRED postgres and fails when it is missing.
// Tests of several executables share the server, so each picks database names of its own:
//
//   PostgresTestServer pg;
//   QVERIFY2(pg.createDatabase("mi_prueba"), qPrintable(pg.problem()));
class PostgresTestServer {
public:
    PostgresTestServer();

    bool available() const { return m_port > 0; }
    // Why the last step failed (server not started, SQL error).
    QString problem() const { return m_problem; }

    QString host() const { return m_host; }
    int port() const { return m_port; }
    QString user() const { return m_user; }

    // Drops and creates the database, then loads the program's tables and sample
    // catalogs (sql/postgres-catalogos.sql) and, with countries, the country table.
    bool createDatabase(const QString &name, bool countries = false);
    // Runs a script of statements, each ending with ; at the end of a line.
    bool runScript(const QString &database, const QString &file);

    // Where the fixture's start script writes the server's address.
    static QString infoFile();

private:
    bool exec(const QString &database, const QStringList &statements);

    QString m_host;
    int m_port = 0;
    QString m_user;
    QString m_problem;
};
