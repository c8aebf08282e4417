#include "catalog/DiarioEnvios.h"

#include "core/AppError.h"
#include "core/ErrorNumbers.h"
#include "core/modGlobal.h"
#include "database/ConnectionSettings.h"
#include "database/DataAccessManager.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <algorithm>
#include <cstring>

namespace {
const char *const kEsquema[] = {
    "create table if not exists envios (id integer primary key autoincrement, catalogo text not null, "
    "driver text not null, servidor text not null, base text not null, operador text, fecha text, tipo text, "
    "estado text not null)",
    "create table if not exists lotes (envio integer not null, cambios blob not null)",
    "create index if not exists lotes_envio on lotes (envio)",
};

const char *const kEstados[] = {"pendiente", "hecho", "deshaciendo", "deshecho", "descartado"};

DiarioEnvios::Estado estadoDe(const QString &texto)
{
    for (int i = 0; i < int(std::size(kEstados)); ++i)
        if (texto == QLatin1String(kEstados[i]))
            return DiarioEnvios::Estado(i);
    return DiarioEnvios::Estado::Descartado;
}

// A connection without a server has it empty, never null: null equals nothing.
QString noNulo(const QString &texto)
{
    return texto.isNull() ? QStringLiteral("") : texto;
}

const QString kMismaConexion = QStringLiteral("driver = ? and servidor = ? and base = ?");

// A block of changes: each row as its length and its bytes, before then after.
void agregar(QByteArray &bloque, QByteArrayView fila)
{
    const qint32 largo = qint32(fila.size());
    bloque.append(reinterpret_cast<const char *>(&largo), sizeof(largo));
    bloque.append(fila);
}

QByteArray codificar(const std::vector<DiarioEnvios::CambioVisto> &cambios, std::size_t desde, std::size_t hasta)
{
    QByteArray bloque;
    qsizetype largo = 0;
    for (std::size_t i = desde; i < hasta; ++i)
        largo += 2 * qsizetype(sizeof(qint32)) + cambios[i].antes.size() + cambios[i].despues.size();
    bloque.reserve(largo);
    for (std::size_t i = desde; i < hasta; ++i) {
        agregar(bloque, cambios[i].antes);
        agregar(bloque, cambios[i].despues);
    }
    return bloque;
}

bool tomar(const QByteArray &bloque, qsizetype &pos, QByteArray &fila)
{
    qint32 largo = 0;
    if (pos + qsizetype(sizeof(largo)) > bloque.size())
        return false;
    std::memcpy(&largo, bloque.constData() + pos, sizeof(largo));
    pos += sizeof(largo);
    if (largo < 0 || pos + largo > bloque.size())
        return false;
    fila = bloque.mid(pos, largo);
    pos += largo;
    return true;
}

bool decodificar(const QByteArray &bloque, std::vector<DiarioEnvios::Cambio> &cambios)
{
    for (qsizetype pos = 0; pos < bloque.size();) {
        DiarioEnvios::Cambio cambio;
        if (!tomar(bloque, pos, cambio.antes) || !tomar(bloque, pos, cambio.despues))
            return false;
        cambios.push_back(std::move(cambio));
    }
    return true;
}
} // namespace

QString DiarioEnvios::archivoDelUsuario()
{
    return ConnectionSettings::dataFolder() + QStringLiteral("/envios.sqlite");
}

QString DiarioEnvios::texto(Estado estado)
{
    return QString::fromLatin1(kEstados[int(estado)]);
}

DiarioEnvios::Entrada DiarioEnvios::nuevaEntrada(const QString &idCatalogo)
{
    const EntitySettings origen = modGlobal::AccesoDatos->getDataConnectionOrigen(QStringLiteral("CATALOGOS"));
    Entrada e;
    e.catalogo = idCatalogo;
    e.driver = origen.driver;
    e.servidor = origen.host.isEmpty() || origen.port <= 0
                     ? origen.host
                     : origen.host + QLatin1Char(':') + QString::number(origen.port);
    e.base = origen.database;
    e.operador = modGlobal::UsuarioSesion;
    e.fecha = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    e.tipoBase = modGlobal::AccesoDatos->getDataConnectionTAG(QStringLiteral("CATALOGOS"));
    return e;
}

DiarioEnvios::DiarioEnvios() : DiarioEnvios(archivoDelUsuario()) {}

DiarioEnvios::DiarioEnvios(const QString &archivo) : m_archivo(archivo)
{
    if (!QDir().mkpath(QFileInfo(archivo).absolutePath()))
        fallar(QStringLiteral("crear su carpeta"), QStringLiteral("sin permiso o sin espacio"));
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"),
                                     QStringLiteral("sorvanta-diario-")
                                         + QUuid::createUuid().toString(QUuid::WithoutBraces));
    m_db.setDatabaseName(archivo);
    // Another program of the same user may be writing it a moment.
    m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=30000"));
    if (!m_db.open())
        fallar(QStringLiteral("abrirlo"), m_db.lastError().text());
    // A send's rows are written once, straight into the file: a write-ahead log would write
    // them twice, the second time while the operator waits for the send. Full syncing: a
    // killed program or a lost power loses nothing committed. A file another program holds
    // open in write-ahead mode stays so, at once: it keeps every committed send too.
    QSqlQuery modo(m_db);
    modo.exec(QStringLiteral("pragma busy_timeout=0"));
    modo.exec(QStringLiteral("pragma journal_mode=delete"));
    ejecutar(QStringLiteral("pragma busy_timeout=30000"));
    ejecutar(QStringLiteral("pragma synchronous=full"));
    for (const char *sql : kEsquema)
        ejecutar(QString::fromLatin1(sql));
}

DiarioEnvios::~DiarioEnvios()
{
    const QString nombre = m_db.connectionName();
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(nombre);
}

void DiarioEnvios::fallar(const QString &que, const QString &porque) const
{
    throw AppError(
        ErrorNumbers::kFileAccess, QStringLiteral("Diario de envíos"),
        QStringLiteral("No se pudo %1 el diario de envíos \"%2\": %3").arg(que, m_archivo, porque.trimmed()));
}

void DiarioEnvios::ejecutar(const QString &sql)
{
    QSqlQuery query(m_db);
    if (!query.exec(sql))
        fallar(QStringLiteral("escribir en"), query.lastError().text());
}

qint64 DiarioEnvios::registrar(const Entrada &e, const std::vector<CambioVisto> &cambios)
{
    if (!m_db.transaction())
        fallar(QStringLiteral("escribir en"), m_db.lastError().text());
    QSqlQuery query(m_db);
    const auto fallo = [&] {
        const QString porque = query.lastError().text();
        m_db.rollback();
        fallar(QStringLiteral("escribir en"), porque);
    };
    query.prepare(QStringLiteral("insert into envios (catalogo, driver, servidor, base, operador, fecha, tipo, estado) "
                                 "values (?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const QString &valor :
         {e.catalogo, e.driver, e.servidor, e.base, e.operador, e.fecha, e.tipoBase, texto(Estado::Pendiente)})
        query.addBindValue(noNulo(valor));
    if (!query.exec())
        fallo();
    const qint64 id = query.lastInsertId().toLongLong();
    if (!query.prepare(QStringLiteral("insert into lotes (envio, cambios) values (?, ?)")))
        fallo();
    for (std::size_t desde = 0; desde < cambios.size(); desde += kCambiosPorFila) {
        query.bindValue(0, id);
        query.bindValue(1, codificar(cambios, desde, std::min(cambios.size(), desde + kCambiosPorFila)));
        if (!query.exec())
            fallo();
    }
    if (!m_db.commit())
        fallo();
    return id;
}

void DiarioEnvios::marcar(const Entrada &e, Estado estado)
{
    if (!m_db.transaction())
        fallar(QStringLiteral("escribir en"), m_db.lastError().text());
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("update envios set estado = ? where id = ?"));
    query.addBindValue(texto(estado));
    query.addBindValue(e.id);
    bool bien = query.exec();
    if (bien && estado == Estado::Hecho) {
        const QString antiguos =
            QStringLiteral("select id from envios where id < ? and catalogo = ? collate nocase and ") + kMismaConexion;
        for (const QString &sql : {QStringLiteral("delete from lotes where envio in (%1)").arg(antiguos),
                                   QStringLiteral("delete from envios where id in (%1)").arg(antiguos)}) {
            bien = bien && query.prepare(sql);
            int lugar = 0;
            for (const QVariant &valor :
                 {QVariant(e.id), QVariant(e.catalogo), QVariant(e.driver), QVariant(e.servidor), QVariant(e.base)})
                query.bindValue(lugar++, valor.typeId() == QMetaType::QString ? noNulo(valor.toString()) : valor);
            bien = bien && query.exec();
        }
    }
    if (!bien) {
        const QString porque = query.lastError().text();
        m_db.rollback();
        fallar(QStringLiteral("escribir en"), porque);
    }
    if (!m_db.commit())
        fallar(QStringLiteral("escribir en"), m_db.lastError().text());
}

std::vector<DiarioEnvios::Entrada> DiarioEnvios::entradas(const QString &condicion, const Entrada &como)
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.prepare(QStringLiteral("select id, catalogo, driver, servidor, base, operador, fecha, tipo, estado "
                                      "from envios where ")
                       + kMismaConexion + condicion))
        fallar(QStringLiteral("leer"), query.lastError().text());
    query.addBindValue(noNulo(como.driver));
    query.addBindValue(noNulo(como.servidor));
    query.addBindValue(noNulo(como.base));
    if (condicion.contains(QLatin1Char('?')))
        query.addBindValue(noNulo(como.catalogo));
    if (!query.exec())
        fallar(QStringLiteral("leer"), query.lastError().text());
    std::vector<Entrada> leidas;
    while (query.next()) {
        Entrada e;
        e.id = query.value(0).toLongLong();
        e.catalogo = query.value(1).toString();
        e.driver = query.value(2).toString();
        e.servidor = query.value(3).toString();
        e.base = query.value(4).toString();
        e.operador = query.value(5).toString();
        e.fecha = query.value(6).toString();
        e.tipoBase = query.value(7).toString();
        e.estado = estadoDe(query.value(8).toString());
        leidas.push_back(e);
    }
    return leidas;
}

std::optional<DiarioEnvios::Entrada> DiarioEnvios::ultimo(const Entrada &como)
{
    const std::vector<Entrada> leidas = entradas(
        QStringLiteral(" and catalogo = ? collate nocase and estado <> 'descartado' order by id desc limit 1"), como);
    if (leidas.empty())
        return std::nullopt;
    return leidas.front();
}

std::vector<DiarioEnvios::Entrada> DiarioEnvios::deshacibles(const Entrada &como)
{
    std::vector<Entrada> ultimas;
    for (const Entrada &e : entradas(QStringLiteral(" and estado <> 'descartado' order by id desc"), como)) {
        const bool vista = std::any_of(ultimas.begin(), ultimas.end(), [&](const Entrada &u) {
            return u.catalogo.compare(e.catalogo, Qt::CaseInsensitive) == 0;
        });
        if (!vista)
            ultimas.push_back(e);
    }
    std::vector<Entrada> abiertas;
    for (const Entrada &e : ultimas)
        if (e.estado != Estado::Deshecho)
            abiertas.push_back(e);
    return abiertas;
}

std::vector<DiarioEnvios::Cambio> DiarioEnvios::cambios(qint64 id)
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("select cambios from lotes where envio = ? order by rowid"));
    query.addBindValue(id);
    if (!query.exec())
        fallar(QStringLiteral("leer"), query.lastError().text());
    std::vector<Cambio> leidos;
    while (query.next())
        if (!decodificar(query.value(0).toByteArray(), leidos))
            fallar(QStringLiteral("leer"), QStringLiteral("una fila del envío está dañada"));
    return leidos;
}
