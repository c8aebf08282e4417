#include "database/SqlConnection.h"

#include "core/AppError.h"
#include "database/DataAccessErrors.h"
#include "database/SesionPostgres.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <optional>
#include <sqlite3.h>
#include <utility>

namespace {
// The engine counts every allocation under a lock only for statistics nobody here reads: a
// fifth of the cost of each command. Set before main, as the engine wants it before its first
// connection.
const int kSinEstadisticas = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
} // namespace

SqlConnection::SqlConnection(const QSqlDatabase &db, SqlDialect::Kind dialect)
    : m_db(db), m_dialect(dialect), m_plantillas(dialect)
{
    prepararSqlite();
}

bool SqlConnection::esSqlite() const
{
    return m_db.driverName() == QLatin1String("QSQLITE");
}

// Each statement commits on its own; NORMAL keeps that cheap and is safe with WAL. A run held
// in one transaction touches the whole catalog: in the engine's default 2 MiB of pages it would
// read pages back from the file all along.
void SqlConnection::prepararSqlite()
{
    if (!esSqlite() || !m_db.isOpen())
        return;
    QSqlQuery query(m_db);
    query.exec(QStringLiteral("pragma synchronous=normal"));
    query.exec(QStringLiteral("pragma cache_size=-131072"));
}

SqlConnection::~SqlConnection()
{
    const QString name = m_db.connectionName();
    cerrar();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(name);
}

// The engine will not close a file while a prepared statement of it is left.
void SqlConnection::cerrar()
{
    m_plantillas.olvidar();
    m_db.close();
}

void SqlConnection::ensureOpen()
{
    if (m_abrirDeNuevo) {
        m_abrirDeNuevo = false;
        cerrar();
    }
    // A connection the server dropped is opened again for the next statement.
    if (m_db.isOpen())
        return;
    if (m_db.open()) {
        const QString sesion = SesionPostgres::preparar(m_db, m_dialect);
        if (sesion.isEmpty()) {
            prepararSqlite();
            return;
        }
        cerrar();
        throw AppError(DataAccessErrors::kConnection, DataAccessErrors::source(),
                       QStringLiteral("Se volvió a abrir la conexión con la base de datos, pero ") + sesion);
    }
    throw AppError(DataAccessErrors::kConnection, DataAccessErrors::source(),
                   QStringLiteral("Se perdió la conexión con la base de datos y no se pudo restablecer: %1")
                       .arg(m_db.lastError().text().trimmed()));
}

// A run whose session was lost refuses every later statement until it ends; otherwise the
// connection opens if it must.
void SqlConnection::abrirParaSentencia()
{
    if (m_perdida)
        rechazar(m_errorPerdida);
    ensureOpen();
}

void SqlConnection::run(QSqlQuery &query)
{
    run(query, translatedSql());
}

void SqlConnection::run(QSqlQuery &query, const QString &texto)
{
    query.setForwardOnly(true);
    if (query.exec(texto))
        return;
    const QSqlError error = query.lastError();
    // The ODBC driver still calls a connection open after the server has ended it, and
    // every later statement would fail the same way: the next one opens it afresh.
    if (m_db.driverName() == QLatin1String("QODBC"))
        m_abrirDeNuevo = true;
    volverAlPunto(error);
    rechazar(error);
}

void SqlConnection::rechazar(const QSqlError &error)
{
    QString description = error.databaseText().trimmed();
    if (description.isEmpty())
        description = error.text().trimmed();
    if (description.isEmpty())
        description = QStringLiteral("La base de datos rechazó la instrucción sin indicar el motivo");
    throw AppError(DataAccessErrors::kStatement, DataAccessErrors::source(), description);
}

bool SqlConnection::crearRs(std::shared_ptr<Recordset> &rs)
{
    abrirParaSentencia();
    QSqlQuery *preparada = nullptr;
    if (sqlite3 *motor = motorSqlite())
        preparada = m_plantillas.consultar(m_db, motor, m_sql);
    std::optional<QSqlQuery> entera;
    if (!preparada)
        run(entera.emplace(m_db));
    QSqlQuery &query = preparada ? *preparada : *entera;
    const QSqlRecord record = query.record();
    const int columns = record.count();
    QStringList names;
    names.reserve(columns);
    for (int i = 0; i < columns; ++i)
        names << record.fieldName(i);
    std::vector<QVariantList> rows;
    while (query.next()) {
        QVariantList row;
        row.reserve(columns);
        for (int i = 0; i < columns; ++i)
            row.append(query.value(i));
        rows.push_back(std::move(row));
    }
    // A prepared query keeps the file read until it is let go.
    query.finish();
    const bool any = !rows.empty();
    rs = std::make_shared<Recordset>(std::move(names), std::move(rows));
    return any;
}

long SqlConnection::ejecutar()
{
    abrirParaSentencia();
    if (m_unaTransaccion)
        return ejecutarEnTransaccion(translatedSql());
    if (!m_tanda)
        return ejecutarSolo(m_sql);
    if (!m_enVentana) {
        QSqlQuery(m_db).exec(QStringLiteral("begin"));
        m_enVentana = true;
        m_ventana.clear();
        m_reloj.start();
    }
    long cambiados = 0;
    try {
        cambiados = ejecutarSolo(m_sql);
    } catch (const AppError &) {
        cerrarVentana();
        throw;
    }
    m_ventana << m_sql;
    if (!m_ventanaUnica && (m_ventana.size() >= kSentenciasPorVentana || m_reloj.elapsed() >= kMsPorVentana))
        cerrarVentana();
    return cambiados;
}

// One command as the program wrote it, put in the database's dialect on its way.
long SqlConnection::ejecutarSolo(const QString &sentencia)
{
    if (sqlite3 *motor = motorSqlite()) {
        long cambiados = 0;
        if (ejecutarSqlite(motor, sentencia, cambiados))
            return cambiados;
    }
    QSqlQuery query(m_db);
    run(query, SqlDialect::translate(sentencia, m_dialect));
    return query.numRowsAffected();
}

sqlite3 *SqlConnection::motorSqlite() const
{
    if (!esSqlite())
        return nullptr;
    const QVariant handle = m_db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

// The command straight to the engine, in UTF-8: Qt's driver costs as much again per command
// (a result object, the text to UTF-16 and back). A command of a shape run before skips the
// reading of its text (PlantillasSqlite). Same outcome, count and error message; false, having
// run nothing, for a text of no command or of more than one, left to Qt's path.
bool SqlConnection::ejecutarSqlite(sqlite3 *motor, const QString &sentencia, long &cambiados)
{
    QString fallo;
    switch (m_plantillas.ejecutar(motor, sentencia.toUtf8(), cambiados, fallo)) {
    case PlantillasSqlite::Resultado::Hecho:
        return true;
    case PlantillasSqlite::Resultado::Fallo:
        throw AppError(DataAccessErrors::kStatement, DataAccessErrors::source(), fallo);
    case PlantillasSqlite::Resultado::NoAplica:
        break;
    }
    const QByteArray utf8 = SqlDialect::translate(sentencia, m_dialect).toUtf8();
    sqlite3_stmt *preparada = nullptr;
    const char *resto = nullptr;
    int rc = sqlite3_prepare_v2(motor, utf8.constData(), int(utf8.size()), &preparada, &resto);
    if (rc == SQLITE_OK && (!preparada || (resto && !QByteArray(resto).trimmed().isEmpty()))) {
        sqlite3_finalize(preparada);
        return false;
    }
    if (rc == SQLITE_OK)
        rc = sqlite3_step(preparada);
    const bool bien = rc == SQLITE_DONE || rc == SQLITE_ROW;
    const QString motivo = bien ? QString() : QString::fromUtf8(sqlite3_errmsg(motor)).trimmed();
    sqlite3_finalize(preparada);
    if (!bien)
        throw AppError(DataAccessErrors::kStatement, DataAccessErrors::source(), motivo);
    cambiados = sqlite3_changes(motor);
    return true;
}

// Commits the window. After a command of it failed, this keeps what came before, as if
// each had been committed on its own: most failures leave the transaction open, and one the
// database rolled back is sent again, one command at a time.
void SqlConnection::cerrarVentana()
{
    if (!m_enVentana)
        return;
    m_enVentana = false;
    const QStringList ventana = std::exchange(m_ventana, {});
    if (QSqlQuery(m_db).exec(QStringLiteral("commit")))
        return;
    QSqlQuery(m_db).exec(QStringLiteral("rollback"));
    for (const QString &texto : ventana)
        ejecutarSolo(texto);
}

// On PostgreSQL the run is one transaction, committed at confirmarTanda, for the same reason
// as the held file below; its windows (ejecutarJuntas) only save round trips.
//
// Only the embedded engine locks a file per statement and commits at its cost. The run's
// commands go in transactions of up to kSentenciasPorVentana commands or kMsPorVentana, with
// the outcome of each committing on its own. Holding the file for the run needs every other
// program out of it, even one that merely has it open: then the run goes on without the hold.
// With the hold nobody else can write between windows, so the run is one window: a run killed
// half way leaves nothing, and the operator's rerun gives what one run gives (an article it had
// inserted would come back as updated, and an update writes other values than an insert).
void SqlConnection::comenzarTanda()
{
    if (!esSqlite()) {
        m_unaTransaccion = m_db.driverName() == QLatin1String("QPSQL");
        m_perdida = false;
        return;
    }
    ensureOpen();
    QSqlQuery query(m_db);
    query.exec(QStringLiteral("pragma busy_timeout"));
    const QString espera = query.next() ? query.value(0).toString() : QStringLiteral("5000");
    query.exec(QStringLiteral("pragma busy_timeout=0"));
    query.exec(QStringLiteral("pragma locking_mode=exclusive"));
    const bool retenida = query.exec(QStringLiteral("begin immediate")) && query.exec(QStringLiteral("rollback"));
    if (!retenida) {
        query.exec(QStringLiteral("rollback"));
        query.exec(QStringLiteral("pragma locking_mode=normal"));
    }
    query.exec(QStringLiteral("pragma busy_timeout=") + espera);
    m_tanda = true;
    m_ventanaUnica = retenida;
}

void SqlConnection::confirmarTanda()
{
    cerrarVentana();
    if (!m_abierta)
        return;
    m_abierta = false;
    QSqlQuery query(m_db);
    if (query.exec(QStringLiteral("commit")))
        return;
    m_perdida = true;
    m_errorPerdida = query.lastError();
    rechazar(m_errorPerdida);
}

// A run that met another program's lock can keep the file locked even after going back to
// normal mode: closing the connection is the one sure way to let go. The next statement
// opens it again.
void SqlConnection::terminarTanda()
{
    if (m_unaTransaccion) {
        m_unaTransaccion = false;
        try {
            confirmarTanda();
        } catch (const AppError &) {
            // The run reports its own stop.
        }
        // A session the server ended is opened afresh by the next statement.
        if (std::exchange(m_perdida, false))
            cerrar();
        return;
    }
    if (!m_tanda)
        return;
    m_tanda = false;
    m_ventanaUnica = false;
    try {
        cerrarVentana();
    } catch (const AppError &) {
        // The run reports its own stop; this only lets go.
    }
    cerrar();
}

// A server costs a round trip per command: its run takes windows. The embedded engine and
// ODBC take the commands one by one.
int SqlConnection::sentenciasPorEnvio() const
{
    return m_unaTransaccion ? kSentenciasPorEnvio : 1;
}

// Without bound values the PostgreSQL driver sends the text as one simple query, several
// commands and all; it reports a failure after the first command only when walking the
// results. The server skips the rest of the text at a failed command and keeps the
// transaction aborted until the rollback. `cambiados`: the rows the first command changed.
bool SqlConnection::enviarJuntos(const QStringList &textos, QSqlError &error, long *cambiados)
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    qsizetype hechos = query.exec(textos.join(QStringLiteral(";\n"))) ? 1 : 0;
    if (cambiados && hechos > 0)
        *cambiados = query.numRowsAffected();
    while (hechos > 0 && query.nextResult())
        ++hechos;
    error = query.lastError();
    return hechos == textos.size() && !error.isValid();
}

// The run's transaction, at its first command; the savepoint marks where a failure goes back to.
void SqlConnection::abrirTransaccion()
{
    if (m_abierta)
        return;
    QSqlError error;
    if (!enviarJuntos({QStringLiteral("begin"), QStringLiteral("savepoint envio")}, error)) {
        QSqlQuery(m_db).exec(QStringLiteral("rollback"));
        rechazar(error);
    }
    m_abierta = true;
}

// One command of a server's run, with the savepoint moved past it when it stands.
long SqlConnection::ejecutarEnTransaccion(const QString &texto)
{
    abrirTransaccion();
    QSqlError error;
    long cambiados = 0;
    if (enviarJuntos({texto, QStringLiteral("release savepoint envio"), QStringLiteral("savepoint envio")}, error,
                     &cambiados))
        return cambiados;
    volverAlPunto(error);
    rechazar(error);
}

// After a failure inside the run's transaction: back to the savepoint, so that what stood
// before still commits. When even that fails the server has ended the session, and the run's
// transaction with it.
void SqlConnection::volverAlPunto(const QSqlError &error)
{
    if (!m_abierta)
        return;
    if (m_db.isOpen() && QSqlQuery(m_db).exec(QStringLiteral("rollback to savepoint envio")))
        return;
    m_abierta = false;
    m_perdida = true;
    m_errorPerdida = error;
}

// A window goes inside the server run's transaction, which it leaves with the savepoint after
// its last command. Only such a run takes windows (sentenciasPorEnvio).
bool SqlConnection::ejecutarJuntas(const QStringList &sentencias)
{
    abrirParaSentencia();
    abrirTransaccion();
    QStringList textos;
    for (const QString &sentencia : sentencias)
        textos << SqlDialect::translate(sentencia, m_dialect);
    textos << QStringLiteral("release savepoint envio") << QStringLiteral("savepoint envio");
    QSqlError error;
    if (enviarJuntos(textos, error))
        return true;
    // Back at the savepoint the window is sent again one command at a time; a session the
    // server ended reports its own message, and nothing is sent again on another.
    volverAlPunto(error);
    if (!m_perdida)
        return false;
    rechazar(error);
}
