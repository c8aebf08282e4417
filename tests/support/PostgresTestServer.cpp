#include "PostgresTestServer.h"

#include <QFile>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QUuid>

PostgresTestServer::PostgresTestServer()
{
    if (!QFile::exists(infoFile())) {
        m_problem = QStringLiteral("The PostgreSQL test server is not running (no %1): run the test through ctest, "
                                   "which starts the \"postgres\" fixture")
                        .arg(infoFile());
        return;
    }
    const QSettings info(infoFile(), QSettings::IniFormat); // host=, port=, user= lines
    m_host = info.value(QStringLiteral("host")).toString();
    m_port = info.value(QStringLiteral("port")).toInt();
    m_user = info.value(QStringLiteral("user")).toString();
    if (m_port <= 0)
        m_problem = QStringLiteral("No port in %1").arg(infoFile());
}

QString PostgresTestServer::infoFile()
{
    return QStringLiteral(SORVANTA_PG_INFO_FILE);
}

bool PostgresTestServer::exec(const QString &database, const QStringList &statements)
{
    if (!available())
        return false;
    const QString name = QStringLiteral("pg-test-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(m_host);
        db.setPort(m_port);
        db.setUserName(m_user);
        db.setDatabaseName(database);
        if (!db.open()) {
            m_problem = db.lastError().text();
            ok = false;
        }
        QSqlQuery query(db);
        for (int i = 0; ok && i < statements.size(); ++i) {
            if (!query.exec(statements[i])) {
                m_problem = statements[i] + QStringLiteral(": ") + query.lastError().text();
                ok = false;
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

bool PostgresTestServer::runScript(const QString &database, const QString &file)
{
    QFile script(file);
    if (!script.open(QIODevice::ReadOnly)) {
        m_problem = QStringLiteral("cannot read ") + file;
        return false;
    }
    QStringList statements;
    QString current;
    for (const QString &line : QString::fromUtf8(script.readAll()).split(QLatin1Char('\n'))) {
        if (line.trimmed().startsWith(QLatin1String("--")))
            continue;
        current += line + QLatin1Char('\n');
        if (line.trimmed().endsWith(QLatin1Char(';'))) {
            statements << current.trimmed();
            current.clear();
        }
    }
    return exec(database, statements);
}

bool PostgresTestServer::createDatabase(const QString &name, bool countries)
{
    const QString quoted = QLatin1Char('"') + name + QLatin1Char('"');
    if (!exec(QStringLiteral("postgres"), {QStringLiteral("drop database if exists %1 with (force)").arg(quoted),
                                           QStringLiteral("create database %1").arg(quoted)}))
        return false;
    const QString sql = QStringLiteral(SORVANTA_SOURCE_DIR "/sql/");
    if (!runScript(name, sql + QStringLiteral("postgres-catalogos.sql")))
        return false;
    return !countries || runScript(name, sql + QStringLiteral("postgres-paises.sql"));
}
