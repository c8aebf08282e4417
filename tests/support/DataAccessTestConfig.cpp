#include "DataAccessTestConfig.h"

#include "PostgresTestServer.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

DataAccessTestConfig::DataAccessTestConfig(const TestEnvironment &env) : m_path(iniPath(env)) {}

QString DataAccessTestConfig::iniPath(const TestEnvironment &env)
{
    return env.configDir() + QStringLiteral("/sorvanta/conexiones.ini");
}

DataAccessTestConfig &DataAccessTestConfig::sqliteFolder(const QString &folder, const QString &tag)
{
    createSqliteDatabases(folder);
    for (const auto &[name, file] : {std::pair{QStringLiteral("CATALOGOS"), catalogosFile(folder)},
                                     std::pair{QStringLiteral("SYSTABLAS"), systablasFile(folder)}})
        entity(name, {{QStringLiteral("Driver"), QStringLiteral("QSQLITE")},
                      {QStringLiteral("BaseDatos"), file},
                      {QStringLiteral("Tipo"), tag}});
    return *this;
}

DataAccessTestConfig &DataAccessTestConfig::postgres(const QString &entity, const QString &database, const QString &tag)
{
    const PostgresTestServer server;
    return this->entity(entity, {{QStringLiteral("Driver"), QStringLiteral("QPSQL")},
                                 {QStringLiteral("Servidor"), server.host()},
                                 {QStringLiteral("Puerto"), QString::number(server.port())},
                                 {QStringLiteral("Usuario"), server.user()},
                                 {QStringLiteral("BaseDatos"), database},
                                 {QStringLiteral("Tipo"), tag}});
}

DataAccessTestConfig &DataAccessTestConfig::odbc(const QString &entity, const QString &connectionString,
                                                 const QString &dialect, const QString &tag)
{
    return this->entity(entity, {{QStringLiteral("Driver"), QStringLiteral("QODBC")},
                                 {QStringLiteral("BaseDatos"), connectionString},
                                 {QStringLiteral("Dialecto"), dialect},
                                 {QStringLiteral("Tipo"), tag}});
}

QString DataAccessTestConfig::backend(const QString &kind, const QString &folder, const QString &database,
                                      const QString &tag)
{
    const QString cat = QStringLiteral("CATALOGOS"), sys = QStringLiteral("SYSTABLAS");
    if (kind == QLatin1String("sqlite")) {
        sqliteFolder(folder, tag);
    } else if (kind == QLatin1String("odbc sqlite")) {
        createSqliteDatabases(folder);
        const QString driver = QStringLiteral("DRIVER={SQLite3};Database=");
        odbc(cat, driver + catalogosFile(folder), QStringLiteral("sqlite"), tag)
            .odbc(sys, driver + systablasFile(folder), QStringLiteral("sqlite"), tag);
    } else {
        PostgresTestServer pg;
        if (!pg.createDatabase(database, true))
            return pg.problem();
        if (kind == QLatin1String("postgres")) {
            postgres(cat, database, tag).postgres(sys, database, tag);
        } else {
            const QString text = QStringLiteral("DRIVER={PostgreSQL Unicode};Server=%1;Port=%2;Database=%3;Uid=%4;")
                                     .arg(pg.host())
                                     .arg(pg.port())
                                     .arg(database, pg.user());
            odbc(cat, text, QStringLiteral("postgres"), tag).odbc(sys, text, QStringLiteral("postgres"), tag);
        }
    }
    write();
    return QString();
}

DataAccessTestConfig &DataAccessTestConfig::entity(const QString &entity, const QList<QPair<QString, QString>> &keys)
{
    m_text += QLatin1Char('[') + entity + QStringLiteral("]\n");
    for (const auto &key : keys)
        m_text += key.first + QLatin1Char('=') + key.second + QLatin1Char('\n');
    m_text += QLatin1Char('\n');
    return *this;
}

QString DataAccessTestConfig::write() const
{
    QDir().mkpath(QFileInfo(m_path).path());
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(m_text.toUtf8()) < 0)
        qFatal("cannot write %s", qPrintable(m_path));
    return m_path;
}
