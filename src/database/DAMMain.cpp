#include "database/DAMMain.h"

#include "core/AppError.h"
#include "database/ConnectionSettings.h"
#include "database/DataAccessErrors.h"
#include "database/EmbeddedDatabases.h"
#include "database/SesionPostgres.h"
#include "database/SqlConnection.h"

#include <QFile>
#include <QSqlError>
#include <QUuid>

namespace {

[[noreturn]] void fail(const QString &description)
{
    throw AppError(DataAccessErrors::kConnection, DataAccessErrors::source(), description);
}

} // namespace

DAMMain::DAMMain()
    : m_connectionPrefix(QStringLiteral("sorvanta-") + QUuid::createUuid().toString(QUuid::WithoutBraces)
                         + QLatin1Char('-'))
{
}

DAMMain::~DAMMain() = default;

void DAMMain::LoadParameters()
{
    const QString file = ConnectionSettings::configFile();
    if (QFile::exists(file))
        openAll(ConnectionSettings::read(file));
    else
        loadEmbedded(ConnectionSettings::dataFolder());
}

void DAMMain::loadEmbedded(const QString &folder)
{
    openAll(embeddedSettings(folder));
}

void DAMMain::openAll(const QHash<QString, EntitySettings> &all)
{
    m_entities.clear();
    QHash<QString, Entry> opened;
    for (const EntitySettings &settings : all)
        opened.insert(settings.entity, Entry{settings, open(settings)});
    m_entities = std::move(opened);
}

QHash<QString, EntitySettings> DAMMain::embeddedSettings(const QString &folder)
{
    EmbeddedDatabases::ensure(folder);
    EntitySettings catalogos;
    catalogos.entity = QStringLiteral("CATALOGOS");
    catalogos.driver = QStringLiteral("QSQLITE");
    catalogos.database = EmbeddedDatabases::catalogosFile(folder);
    catalogos.dialect = SqlDialect::Sqlite;
    EntitySettings systablas = catalogos;
    systablas.entity = QStringLiteral("SYSTABLAS");
    systablas.database = EmbeddedDatabases::systablasFile(folder);
    return {{catalogos.entity, catalogos}, {systablas.entity, systablas}};
}

std::shared_ptr<SqlConnection> DAMMain::open(const EntitySettings &s) const
{
    if (!QSqlDatabase::isDriverAvailable(s.driver))
        fail(QStringLiteral("El controlador de base de datos \"%1\" de la entidad \"%2\" no está instalado")
                 .arg(s.driver, s.entity));
    if (s.driver == QLatin1String("QSQLITE") && !QFile::exists(s.database))
        fail(QStringLiteral("No existe la base de datos \"%1\" de la entidad \"%2\"").arg(s.database, s.entity));
    const QString name = m_connectionPrefix + s.entity;
    QString refusal;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(s.driver, name);
        db.setDatabaseName(s.database);
        if (!s.host.isEmpty())
            db.setHostName(s.host);
        if (s.port > 0)
            db.setPort(s.port);
        if (!s.user.isEmpty())
            db.setUserName(s.user);
        if (!s.password.isEmpty())
            db.setPassword(s.password);
        db.setConnectOptions(s.options);
        if (db.open()) {
            refusal = SesionPostgres::preparar(db, s.dialect);
            if (refusal.isEmpty())
                return std::make_shared<SqlConnection>(db, s.dialect);
            db.close();
        } else {
            refusal = db.lastError().text().trimmed();
        }
    }
    QSqlDatabase::removeDatabase(name);
    fail(QStringLiteral("No se pudo conectar con la base de datos de la entidad \"%1\": %2").arg(s.entity, refusal));
}

const DAMMain::Entry &DAMMain::entry(const QString &entity) const
{
    // Callers mostly name an entity as it is kept; asked for every statement.
    auto it = m_entities.constFind(entity);
    if (it == m_entities.cend())
        it = m_entities.constFind(entity.trimmed().toUpper());
    if (it == m_entities.cend())
        fail(QStringLiteral("La entidad \"%1\" no está configurada").arg(entity));
    return it.value();
}

std::shared_ptr<DatabaseConnection> DAMMain::getDataConnectionByEntity(const QString &entity)
{
    return entry(entity).connection;
}

QString DAMMain::getDataConnectionTAG(const QString &entity)
{
    return entry(entity).settings.tag;
}

EntitySettings DAMMain::settings(const QString &entity) const
{
    return entry(entity).settings;
}
