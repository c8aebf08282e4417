#include "database/SqlConnection.h"

#include "core/AppError.h"
#include "database/DataAccessErrors.h"
#include "database/ErrorDeMotor.h"
#include "database/SesionPostgres.h"
#include "database/ValoresPostgres.h"
#include "database/ValoresSqlite.h"

#include <QScopeGuard>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>
#include <libpq-fe.h>
#include <memory>
#include <sqlite3.h>
#include <utility>

namespace {
// The engine counts every allocation under a lock only for statistics nobody here reads: a
// fifth of the cost of each command. Set before main, as the engine wants it before its first
// connection.
const int kSinEstadisticas = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
} // namespace

SqlConnection::SqlConnection(const QSqlDatabase &db, SqlDialect::Kind dialect)
    : m_db(db), m_dialect(dialect), m_formas(dialect), m_sqlite(m_formas), m_postgres(m_formas),
      m_comandosPostgres(m_formas, QStringLiteral("sorvanta_comando_"), true)
{
    prepararSqlite();
}

bool SqlConnection::esSqlite() const
{
    return m_db.driverName() == QLatin1String("QSQLITE");
}

bool SqlConnection::esPostgres() const
{
    return m_db.driverName() == QLatin1String("QPSQL") && m_db.isOpen();
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
    m_captura.quitar(motorSqlite());
    m_sqlite.olvidar();
    m_postgres.olvidar();
    m_comandosPostgres.olvidar();
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
        m_postgres.olvidar();
        m_comandosPostgres.olvidar();
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
        rechazar(m_motivoPerdida);
    ensureOpen();
}

void SqlConnection::run(QSqlQuery &query)
{
    run(query, translatedSql());
}

void SqlConnection::run(QSqlQuery &query, const QString &texto)
{
    query.setForwardOnly(true);
    if (exec(query, texto))
        return;
    const QSqlError error = query.lastError();
    // The ODBC driver still calls a connection open after the server has ended it, and
    // every later statement would fail the same way: the next one opens it afresh.
    if (m_db.driverName() == QLatin1String("QODBC"))
        m_abrirDeNuevo = true;
    volverAlPunto(error);
    rechazar(error);
}

bool SqlConnection::exec(QSqlQuery &query, const QString &texto)
{
    return vigilado([&] { return query.exec(texto); });
}

// A server's statement runs watched, up to its last result: one left unanswered past the limit
// cuts the connection.
bool SqlConnection::vigilado(const std::function<bool()> &sentencia)
{
    PGconn *servidor = conexionPostgres();
    const int socket = servidor ? PQsocket(servidor) : -1;
    if (socket < 0)
        return sentencia();
    m_vigia.armar(socket, m_esperaMaximaMs);
    const bool bien = sentencia();
    if (!m_vigia.desarmar())
        return bien;
    const QString motivo = ErrorDeMotor::describir(
        ErrorDeMotor::Clase::SinRespuesta,
        QStringLiteral("Se cortó la conexión tras %1 s sin respuesta.").arg(m_esperaMaximaMs / 1000));
    m_db.close();
    if (!m_unaTransaccion)
        rechazar(motivo);
    m_abierta = false;
    rechazarPerdido(motivo);
}

QString SqlConnection::describir(const QSqlError &error) const
{
    QString texto = error.databaseText().trimmed();
    if (texto.isEmpty())
        texto = error.text().trimmed();
    if (texto.isEmpty())
        texto = QStringLiteral("La base de datos rechazó la instrucción sin indicar el motivo");
    return ErrorDeMotor::describir(ErrorDeMotor::de(error, m_db.driverName()), texto);
}

void SqlConnection::rechazar(const QSqlError &error)
{
    rechazar(describir(error));
}

void SqlConnection::rechazar(const QString &descripcion)
{
    throw AppError(DataAccessErrors::kStatement, DataAccessErrors::source(), descripcion);
}

// The run's transaction went: what it had done is gone with it, and the operator must know.
void SqlConnection::perder(const QString &descripcion)
{
    m_perdida = true;
    m_motivoPerdida = descripcion + QStringLiteral(" No se escribió nada de este envío en el catálogo.");
}

void SqlConnection::rechazarPerdido(const QString &descripcion)
{
    perder(descripcion);
    rechazar(m_motivoPerdida);
}

// The embedded engine's question with its values bound, read with no Qt driver in between;
// none where it runs written out, or failed (its failure is then the driver's to report).
std::shared_ptr<Recordset> SqlConnection::consultarSqlite(sqlite3 *motor)
{
    QStringList nombres;
    std::vector<QVariantList> filas;
    const auto fila = [&](sqlite3_stmt *paso) {
        const int columnas = sqlite3_column_count(paso);
        QVariantList valores;
        valores.reserve(columnas);
        for (int i = 0; i < columnas; ++i)
            valores.append(ValoresSqlite::variante(paso, i));
        filas.push_back(std::move(valores));
    };
    QString fallo;
    if (m_sqlite.recorrer(motor, m_sentencia, SentenciasSqlite::Uso::Consulta, fila, fallo,
                          [&](sqlite3_stmt *paso) { nombres = ValoresSqlite::nombres(paso); })
        != SentenciasSqlite::Resultado::Hecho)
        return nullptr;
    return std::make_shared<Recordset>(std::move(nombres), std::move(filas));
}

bool SqlConnection::crearRs(std::shared_ptr<Recordset> &rs)
{
    abrirParaSentencia();
    if (sqlite3 *motor = motorSqlite()) {
        if (auto leido = consultarSqlite(motor)) {
            rs = std::move(leido);
            return !rs->eof();
        }
    }
    QSqlQuery query(m_db);
    run(query, textoDeConsulta());
    const QSqlRecord record = query.record();
    const int columns = record.count();
    QStringList names;
    names.reserve(columns);
    for (int i = 0; i < columns; ++i)
        names << record.fieldName(i);
    std::vector<QVariantList> rows;
    // A server hands a forward-only query's rows over as they are read: watched too.
    vigilado([&] {
        while (query.next()) {
            QVariantList row;
            row.reserve(columns);
            for (int i = 0; i < columns; ++i)
                row.append(query.value(i));
            rows.push_back(std::move(row));
        }
        return true;
    });
    // A prepared query keeps the file read until it is let go.
    query.finish();
    const bool any = !rows.empty();
    rs = std::make_shared<Recordset>(std::move(names), std::move(rows));
    return any;
}

// A server's question may go as a prepared one. Outside the run's transaction a PREPARE the
// server refuses aborts nothing; inside, it takes the run back to its savepoint.
QString SqlConnection::textoDeConsulta()
{
    if (!esPostgres() || m_perdida)
        return translatedSql();
    if (m_abierta)
        return m_postgres.texto(m_sentencia, [this](const QString &texto) { return prepararEnTransaccion(texto); });
    return m_postgres.texto(m_sentencia, [this](const QString &texto) {
        QSqlQuery query(m_db);
        return exec(query, texto);
    });
}

bool SqlConnection::prepararEnTransaccion(const QString &texto)
{
    QSqlError error;
    if (enviarJuntos({texto}, error))
        return true;
    volverAlPunto(error);
    if (m_perdida)
        rechazar(m_motivoPerdida);
    return false;
}

long SqlConnection::ejecutar()
{
    abrirParaSentencia();
    if (m_unaTransaccion)
        return ejecutarEnTransaccion(translatedSql());
    if (!m_enTransaccion)
        return ejecutarSolo(m_sentencia);
    long cambiados = 0;
    try {
        cambiados = ejecutarSolo(m_sentencia);
    } catch (const AppError &e) {
        sqlite3 *motor = motorSqlite();
        if (m_entera) {
            // The engine may have rolled the transaction back itself; what is left waits for
            // confirmarTanda or descartarTanda.
            m_enTransaccion = motor && !sqlite3_get_autocommit(motor);
            throw;
        }
        // What stood before the failing command is kept, as if each had committed on its own.
        if (motor && sqlite3_get_autocommit(motor))
            reponer(e, ErrorDeMotor::deSqlite(sqlite3_extended_errcode(motor)));
        confirmarArchivo();
        throw;
    }
    guardarHecha();
    return cambiados;
}

void SqlConnection::guardarHecha()
{
    if (m_sinReposicion)
        return;
    m_hechas.push_back(m_sentencia);
    m_hechas.back().compartirForma(m_formas.formaCompartida(m_sentencia));
    m_bytesHechas += 64;
    for (const Sentencia::Valor &valor : m_sentencia.valores())
        m_bytesHechas += 32 + 2 * valor.escrito.size();
    if (m_sentencia.valores().empty())
        m_bytesHechas += 2 * m_sentencia.forma().size();
    if (m_bytesHechas <= kBytesParaReponer)
        return;
    m_sinReposicion = true;
    m_hechas = {};
}

// The engine rolled the run back with the failing command. When that command's own content
// did it (a trigger's rollback), the commands before it are run again in one transaction. A
// failing disk or file takes the run whole: nothing is sent again that could fill it once more.
void SqlConnection::reponer(const AppError &error, ErrorDeMotor::Clase clase)
{
    m_enTransaccion = false;
    m_captura.vaciar();
    const std::vector<Sentencia> hechas = std::exchange(m_hechas, {});
    m_bytesHechas = 0;
    if (std::exchange(m_sinReposicion, false)
        || (clase != ErrorDeMotor::Clase::Otro && clase != ErrorDeMotor::Clase::ClaveDuplicada)) {
        rechazarPerdido(error.description());
    }
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("begin immediate"))) {
        rechazarPerdido(error.description());
    }
    m_enTransaccion = true;
    try {
        for (const Sentencia &hecha : hechas)
            ejecutarSolo(hecha);
    } catch (const AppError &otro) {
        m_enTransaccion = false;
        QSqlQuery(m_db).exec(QStringLiteral("rollback"));
        rechazarPerdido(otro.description());
    }
}

// One command, put in the database's dialect on its way.
long SqlConnection::ejecutarSolo(const Sentencia &sentencia)
{
    const std::size_t marca = m_captura.marca();
    try {
        return ejecutarUna(sentencia);
    } catch (const AppError &) {
        // The engine took back what the failing command wrote.
        m_captura.volverA(marca);
        throw;
    }
}

long SqlConnection::ejecutarUna(const Sentencia &sentencia)
{
    if (sqlite3 *motor = motorSqlite()) {
        long cambiados = 0;
        if (ejecutarSqlite(motor, sentencia, cambiados))
            return cambiados;
    }
    QSqlQuery query(m_db);
    run(query, m_formas.escrita(sentencia));
    return query.numRowsAffected();
}

// On the embedded engine, the rows straight from it into their bytes: Qt's driver would make a
// value of each column, its texts in UTF-16, for the bytes to be made of them again.
bool SqlConnection::leerCodificadas(std::vector<QByteArray> &filas)
{
    abrirParaSentencia();
    if (PGconn *servidor = conexionPostgres())
        return leerDePostgres(servidor, filas);
    sqlite3 *motor = motorSqlite();
    if (!motor)
        return DatabaseConnection::leerCodificadas(filas);
    const bool utf8 = ValoresSqlite::esUtf8(motor);
    const std::size_t antes = filas.size();
    QString fallo;
    const auto fila = [&](sqlite3_stmt *paso) {
        QByteArray bytes;
        const int columnas = sqlite3_column_count(paso);
        for (int i = 0; i < columnas; ++i)
            ValoresSqlite::agregarColumna(bytes, paso, i, utf8);
        filas.push_back(std::move(bytes));
    };
    switch (m_sqlite.recorrer(motor, m_sentencia, SentenciasSqlite::Uso::Consulta, fila, fallo)) {
    case SentenciasSqlite::Resultado::Hecho:
        return filas.size() > antes;
    case SentenciasSqlite::Resultado::Fallo:
        filas.resize(antes);
        falloSqlite(sqlite3_extended_errcode(motor), fallo);
    case SentenciasSqlite::Resultado::NoAplica:
        break;
    }
    return DatabaseConnection::leerCodificadas(filas);
}

namespace {
QSqlError errorDe(PGconn *servidor, const PGresult *resultado)
{
    const char *mensaje = resultado ? PQresultErrorMessage(resultado) : PQerrorMessage(servidor);
    const char *estado = resultado ? PQresultErrorField(resultado, PG_DIAG_SQLSTATE) : nullptr;
    return QSqlError(QStringLiteral("No se pudo leer la respuesta del servidor"), QString::fromUtf8(mensaje).trimmed(),
                     QSqlError::StatementError, QString::fromLatin1(estado));
}
} // namespace

// Row by row as they arrive, as Qt's driver reads a forward-only question, but with no Qt value
// made; an answer with a column of another type goes to Qt's driver again.
bool SqlConnection::leerDePostgres(PGconn *servidor, std::vector<QByteArray> &filas)
{
    const QByteArray texto = textoDeConsulta().toUtf8();
    const std::size_t antes = filas.size();
    QSqlError error;
    bool ajena = false;
    vigilado([&] {
        if (!PQsendQuery(servidor, texto.constData())) {
            error = errorDe(servidor, nullptr);
            return false;
        }
        PQsetSingleRowMode(servidor);
        while (PGresult *llegado = PQgetResult(servidor)) {
            const std::unique_ptr<PGresult, void (*)(PGresult *)> resultado(llegado, PQclear);
            const ExecStatusType estado = PQresultStatus(llegado);
            // The last result of a row-by-row answer has no rows; a whole answer has them all.
            if (estado == PGRES_SINGLE_TUPLE || estado == PGRES_TUPLES_OK) {
                ajena = ajena || !ValoresPostgres::legibles(llegado);
                if (!ajena && !error.isValid())
                    ValoresPostgres::agregarFilas(llegado, filas);
            } else if (!error.isValid()) {
                error = errorDe(servidor, llegado);
            }
        }
        return !error.isValid();
    });
    if (error.isValid()) {
        filas.resize(antes);
        volverAlPunto(error);
        rechazar(error);
    }
    if (ajena) {
        filas.resize(antes);
        return DatabaseConnection::leerCodificadas(filas);
    }
    return filas.size() > antes;
}

PGconn *SqlConnection::conexionPostgres() const
{
    if (!esPostgres())
        return nullptr;
    const QVariant handle = m_db.driver()->handle();
    // Qt names the handle by libpq's struct tag.
    const bool pq = handle.isValid()
                    && (qstrcmp(handle.typeName(), "pg_conn*") == 0 || qstrcmp(handle.typeName(), "PGconn*") == 0);
    return pq ? *static_cast<PGconn *const *>(handle.constData()) : nullptr;
}

// A server before 14 checks a long list value by value on every row it passes: only later
// ones are trusted with it.
bool SqlConnection::leerEnUnaPasada(const QString &tabla, qsizetype filas)
{
    if (!esPostgres() || m_perdida || filas <= kFilasParaUnaPasada)
        return false;
    Sentencia sql("select case when current_setting('server_version_num')::int >= 140000 then "
                  "pg_relation_size(to_regclass(");
    sql.texto(tabla) << QLatin1String(")) end");
    try {
        QSqlQuery query(m_db);
        run(query, m_formas.escrita(sql));
        return query.next() && !query.value(0).isNull()
               && query.value(0).toLongLong() <= qint64(filas) * kBytesPorFilaEnUnaPasada;
    } catch (const AppError &) {
        return false;
    }
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
// (a result object, the text to UTF-16 and back). A statement with values runs bound
// (SentenciasSqlite). Same outcome, count and error message; false, having run nothing, for a
// text of no command or of more than one, left to Qt's path.
bool SqlConnection::ejecutarSqlite(sqlite3 *motor, const Sentencia &sentencia, long &cambiados)
{
    QString fallo;
    switch (m_sqlite.ejecutar(motor, sentencia, cambiados, fallo)) {
    case SentenciasSqlite::Resultado::Hecho:
        return true;
    case SentenciasSqlite::Resultado::Fallo:
        falloSqlite(sqlite3_extended_errcode(motor), fallo);
    case SentenciasSqlite::Resultado::NoAplica:
        break;
    }
    const QByteArray utf8 = m_formas.escrita(sentencia).toUtf8();
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
    const int codigo = sqlite3_extended_errcode(motor);
    sqlite3_finalize(preparada);
    if (!bien)
        falloSqlite(codigo, motivo);
    cambiados = sqlite3_changes(motor);
    return true;
}

void SqlConnection::falloSqlite(int codigo, const QString &motivo)
{
    rechazar(ErrorDeMotor::describir(ErrorDeMotor::deSqlite(codigo), motivo));
}

// The embedded engine's run is one transaction holding the file's write lock from start to
// end: nobody else writes in between, a run killed half way leaves nothing, and the operator's
// rerun gives what one run gives. Readers go on reading meanwhile (the file is in WAL mode).
// Another run's hold is waited for; the run never goes on without its own.
//
// On a server the run is one transaction too, committed at confirmarTanda, and two runs on
// one database take turns: otherwise the row locks of each, taken in opposite orders, end in a
// deadlock, or the second inserts what the first inserted meanwhile.
void SqlConnection::comenzarTanda(const std::function<void()> &alEsperar)
{
    m_perdida = false;
    m_motivoPerdida.clear();
    ensureOpen();
    if (esSqlite()) {
        tomarArchivo(alEsperar);
        m_tanda = true;
        return;
    }
    m_unaTransaccion = esPostgres();
    if (m_unaTransaccion)
        tomarTurno(alEsperar);
}

void SqlConnection::esperar(QElapsedTimer &reloj, bool &avisado, const std::function<void()> &alEsperar)
{
    if (!avisado && reloj.elapsed() >= 1000) {
        avisado = true;
        if (alEsperar)
            alEsperar();
    }
    if (reloj.elapsed() >= m_esperaMaximaMs)
        rechazar(QStringLiteral("Otro envío al catálogo sigue en curso tras %1 s de espera. No se envió nada; "
                                "vuelva a intentarlo cuando termine.")
                     .arg(m_esperaMaximaMs / 1000));
    QThread::msleep(50);
}

void SqlConnection::tomarArchivo(const std::function<void()> &alEsperar)
{
    QSqlQuery query(m_db);
    query.exec(QStringLiteral("pragma busy_timeout"));
    const QString espera = query.next() ? query.value(0).toString() : QStringLiteral("5000");
    query.exec(QStringLiteral("pragma busy_timeout=0"));
    QElapsedTimer reloj;
    reloj.start();
    bool avisado = false;
    try {
        while (!query.exec(QStringLiteral("begin immediate"))) {
            if (ErrorDeMotor::de(query.lastError(), m_db.driverName()) != ErrorDeMotor::Clase::Bloqueada)
                rechazar(query.lastError());
            esperar(reloj, avisado, alEsperar);
        }
    } catch (const AppError &) {
        query.exec(QStringLiteral("pragma busy_timeout=") + espera);
        throw;
    }
    query.exec(QStringLiteral("pragma busy_timeout=") + espera);
    m_enTransaccion = true;
}

namespace {
// The catalog's turn among this program's runs on one server: the key of an advisory lock, which takes
// no table and goes with the session when a run dies.
const QString kTurno = QStringLiteral("(1397715542, 1)");
} // namespace

void SqlConnection::tomarTurno(const std::function<void()> &alEsperar)
{
    QElapsedTimer reloj;
    reloj.start();
    bool avisado = false;
    for (;;) {
        QSqlQuery query(m_db);
        // A server without advisory locks runs without turns, as before.
        if (!exec(query, QStringLiteral("select pg_try_advisory_lock") + kTurno) || !query.next())
            return;
        if (query.value(0).toBool()) {
            m_turno = true;
            return;
        }
        esperar(reloj, avisado, alEsperar);
    }
}

void SqlConnection::soltarTurno()
{
    if (!std::exchange(m_turno, false) || !m_db.isOpen())
        return;
    QSqlQuery query(m_db);
    try {
        exec(query, QStringLiteral("select pg_advisory_unlock") + kTurno);
    } catch (const AppError &) {
        // The session is gone, and its lock with it.
    }
}

// Commits the embedded engine's run. A commit that fails leaves nothing of the run: the
// engine rolls it back whole, and nothing is sent again that could fill the disk once more.
void SqlConnection::confirmarArchivo()
{
    m_hechas = {};
    m_bytesHechas = 0;
    m_sinReposicion = false;
    if (!m_enTransaccion)
        return;
    avisarConfirmacion();
    m_enTransaccion = false;
    QSqlQuery query(m_db);
    if (query.exec(QStringLiteral("commit")))
        return;
    const QString motivo = describir(query.lastError());
    QSqlQuery(m_db).exec(QStringLiteral("rollback"));
    rechazarPerdido(QStringLiteral("No se pudo confirmar el envío. ") + motivo);
}

void SqlConnection::confirmarTanda()
{
    if (m_perdida)
        rechazar(m_motivoPerdida);
    confirmarArchivo();
    if (!m_abierta)
        return;
    avisarConfirmacion();
    m_abierta = false;
    QSqlQuery query(m_db);
    if (exec(query, QStringLiteral("commit")))
        return;
    rechazarPerdido(QStringLiteral("No se pudo confirmar el envío. ") + describir(query.lastError()));
}

void SqlConnection::avisarConfirmacion()
{
    if (!m_alConfirmar)
        return;
    try {
        m_alConfirmar();
    } catch (const AppError &) {
        // Its own to report.
    }
}

bool SqlConnection::capturarCambios(const QString &tabla, const QStringList &columnas)
{
    if (!esSqlite())
        return false;
    ensureOpen();
    sqlite3 *motor = motorSqlite();
    return motor && m_captura.crear(motor, tabla, columnas);
}

CambiosCapturados SqlConnection::cambiosCapturados()
{
    return m_captura.cambios();
}

void SqlConnection::descartarTanda()
{
    m_entera = true;
    terminarTanda();
}

// What a whole-or-nothing run left uncommitted goes back.
void SqlConnection::deshacerAbierto()
{
    if (std::exchange(m_abierta, false) && m_db.isOpen()) {
        QSqlQuery query(m_db);
        try {
            exec(query, QStringLiteral("rollback"));
        } catch (const AppError &) {
            // The session is gone, and its transaction with it.
        }
    }
    if (std::exchange(m_enTransaccion, false) && m_db.isOpen())
        QSqlQuery(m_db).exec(QStringLiteral("rollback"));
    m_captura.vaciar();
    m_hechas = {};
    m_bytesHechas = 0;
    m_sinReposicion = false;
}

// Closing the embedded engine's connection is the one sure way to let go of the file; the
// next statement opens it again. A whole-or-nothing run not confirmed goes back.
void SqlConnection::terminarTanda()
{
    // Heard by whatever commit the end of the run makes, then forgotten.
    const auto olvidar = qScopeGuard([this] {
        m_alConfirmar = nullptr;
        m_captura.quitar(motorSqlite());
    });
    if (std::exchange(m_entera, false))
        deshacerAbierto();
    if (m_unaTransaccion) {
        m_unaTransaccion = false;
        try {
            confirmarTanda();
        } catch (const AppError &) {
            // The run reports its own stop.
        }
        soltarTurno();
        // A session the server ended is opened afresh by the next statement.
        if (std::exchange(m_perdida, false))
            cerrar();
        return;
    }
    if (!m_tanda)
        return;
    m_tanda = false;
    try {
        confirmarArchivo();
    } catch (const AppError &) {
        // The run reports its own stop; this only lets go.
    }
    m_perdida = false;
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
// transaction aborted until the rollback. `cambiados`: the rows the first command changed;
// `cadaUno`: those each command changed.
bool SqlConnection::enviarJuntos(const QStringList &textos, QSqlError &error, long *cambiados,
                                 std::vector<long> *cadaUno)
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    qsizetype hechos = 0;
    // Each later result is waited for on its own: a server that stops half way through the
    // window is watched as one that never answers.
    vigilado([&] {
        hechos = query.exec(textos.join(QStringLiteral(";\n"))) ? 1 : 0;
        if (cambiados && hechos > 0)
            *cambiados = query.numRowsAffected();
        if (cadaUno && hechos > 0)
            cadaUno->push_back(query.numRowsAffected());
        while (hechos > 0 && query.nextResult()) {
            ++hechos;
            if (cadaUno)
                cadaUno->push_back(query.numRowsAffected());
        }
        return hechos > 0;
    });
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

// A deadlock with another program's transaction is given up by the server on one side: that
// side goes back to its savepoint and, after a short wait, sends the same again.
bool SqlConnection::bloqueoMutuo(const QSqlError &error, int &intentos)
{
    if (ErrorDeMotor::de(error, m_db.driverName()) != ErrorDeMotor::Clase::BloqueoMutuo
        || intentos >= kReintentosPorBloqueo)
        return false;
    volverAlPunto(error);
    if (m_perdida)
        return false;
    ++intentos;
    QThread::msleep(20 * intentos);
    return true;
}

// One command of a server's run, with the savepoint moved past it when it stands.
long SqlConnection::ejecutarEnTransaccion(const QString &texto)
{
    abrirTransaccion();
    QSqlError error;
    long cambiados = 0;
    int intentos = 0;
    do {
        if (enviarJuntos({texto, QStringLiteral("release savepoint envio"), QStringLiteral("savepoint envio")}, error,
                         &cambiados))
            return cambiados;
    } while (bloqueoMutuo(error, intentos));
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
    perder(describir(error));
}

// The commands of a whole-or-nothing run on a server go as prepared shapes: its statements
// are many and long, and the server would plan each anew. A PREPARE the server refuses takes
// the run back to its savepoint, and the shape goes written out.
QString SqlConnection::textoDeComando(const Sentencia &sentencia)
{
    if (!m_entera || !esPostgres())
        return m_formas.escrita(sentencia);
    return m_comandosPostgres.texto(sentencia, [this](const QString &texto) { return prepararEnTransaccion(texto); });
}

// A window goes inside the server run's transaction, which it leaves with the savepoint after
// its last command. Only such a run takes windows (sentenciasPorEnvio).
bool SqlConnection::ejecutarJuntas(const std::vector<Sentencia> &sentencias, std::vector<long> *cambiados)
{
    abrirParaSentencia();
    abrirTransaccion();
    QStringList textos;
    textos.reserve(qsizetype(sentencias.size()) + 2);
    for (const Sentencia &sentencia : sentencias)
        textos << textoDeComando(sentencia);
    textos << QStringLiteral("release savepoint envio") << QStringLiteral("savepoint envio");
    QSqlError error;
    int intentos = 0;
    std::vector<long> cadaUno;
    do {
        cadaUno.clear();
        if (enviarJuntos(textos, error, nullptr, cambiados ? &cadaUno : nullptr)) {
            if (cambiados) {
                // The savepoint's two commands are the window's own.
                cadaUno.resize(sentencias.size());
                *cambiados = std::move(cadaUno);
            }
            return true;
        }
    } while (bloqueoMutuo(error, intentos));
    // Back at the savepoint the window is sent again one command at a time; a session the
    // server ended reports its own message, and nothing is sent again on another.
    volverAlPunto(error);
    if (!m_perdida)
        return false;
    rechazar(m_motivoPerdida);
}
