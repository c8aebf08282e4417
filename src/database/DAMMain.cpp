#include "database/DAMMain.h"

#include "core/AppError.h"
#include "database/ConnectionSettings.h"
#include "database/DataAccessErrors.h"
#include "database/EmbeddedDatabases.h"
#include "database/ErrorDeMotor.h"
#include "database/SesionPostgres.h"
#include "database/SqlConnection.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlError>
#include <QUuid>

namespace {
constexpr int kSegundosDeConexion = 10;

[[noreturn]] void fail(const QString &description)
{
    throw AppError(DataAccessErrors::kConnection, DataAccessErrors::source(), description);
}

// A server that accepts the connection and never answers would hold the program without end.
QString conTiempoDeConexion(const EntitySettings &s)
{
    QString opciones = s.options;
    const auto agregar = [&opciones](const QString &opcion) {
        if (!opciones.trimmed().isEmpty())
            opciones += QLatin1Char(';');
        opciones += opcion;
    };
    if (s.driver == QLatin1String("QPSQL") && !opciones.contains(QLatin1String("connect_timeout")))
        agregar(QStringLiteral("connect_timeout=%1").arg(kSegundosDeConexion));
    if (s.driver == QLatin1String("QODBC") && !opciones.contains(QLatin1String("SQL_ATTR_LOGIN_TIMEOUT")))
        agregar(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1").arg(kSegundosDeConexion));
    return opciones;
}

QString enServidor(const EntitySettings &s)
{
    if (s.host.isEmpty())
        return QString();
    return QStringLiteral(" en el servidor %1")
        .arg(s.port > 0 ? s.host + QLatin1Char(':') + QString::number(s.port) : s.host);
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
        db.setConnectOptions(conTiempoDeConexion(s));
        if (db.open()) {
            refusal = SesionPostgres::preparar(db, s.dialect);
            if (refusal.isEmpty()) {
                auto conexion = std::make_shared<SqlConnection>(db, s.dialect);
                conexion->setEsperaMaxima(s.esperaMaxima);
                return conexion;
            }
            db.close();
        } else {
            refusal = ErrorDeMotor::describir(ErrorDeMotor::Clase::ConexionRechazada, db.lastError().text().trimmed());
        }
    }
    QSqlDatabase::removeDatabase(name);
    fail(QStringLiteral("No se pudo conectar con la base de datos de la entidad \"%1\"%2: %3")
             .arg(s.entity, enServidor(s), refusal));
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

EntitySettings DAMMain::getDataConnectionOrigen(const QString &entity)
{
    EntitySettings origen = entry(entity).settings;
    origen.password.clear();
    origen.options.clear();
    // An ODBC connection string may carry its own password.
    static const QRegularExpression clave(QStringLiteral("\\b(pwd|password|passwd)\\s*=\\s*(\\{[^}]*\\}?|[^;]*)"),
                                          QRegularExpression::CaseInsensitiveOption);
    origen.database.replace(clave, QStringLiteral("\\1=********"));
    return origen;
}

EntitySettings DAMMain::settings(const QString &entity) const
{
    return entry(entity).settings;
}
