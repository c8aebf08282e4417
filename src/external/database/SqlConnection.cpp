#include "external/database/SqlConnection.h"

#include "external/database/DataAccessErrors.h"
#include "platform/AppError.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

SqlConnection::SqlConnection(const QSqlDatabase &db, SqlDialect::Kind dialect) : m_db(db), m_dialect(dialect)
{
    prepararSqlite();
}

bool SqlConnection::esSqlite() const
{
    return m_db.driverName() == QLatin1String("QSQLITE");
}

// Each statement commits on its own; NORMAL keeps that cheap and is safe with WAL.
void SqlConnection::prepararSqlite()
{
    if (esSqlite() && m_db.isOpen())
        QSqlQuery(m_db).exec(QStringLiteral("pragma synchronous=normal"));
}

SqlConnection::~SqlConnection()
{
    const QString name = m_db.connectionName();
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(name);
}

void SqlConnection::ensureOpen()
{
    if (m_abrirDeNuevo) {
        m_abrirDeNuevo = false;
        m_db.close();
    }
    // A connection the server dropped is opened again for the next statement.
    if (m_db.isOpen())
        return;
    if (m_db.open()) {
        prepararSqlite();
        return;
    }
    throw AppError(DataAccessErrors::kConnection, DataAccessErrors::source(),
                   QStringLiteral("Se perdió la conexión con la base de datos y no se pudo restablecer: %1")
                       .arg(m_db.lastError().text().trimmed()));
}

void SqlConnection::run(QSqlQuery &query)
{
    query.setForwardOnly(true);
    if (query.exec(translatedSql()))
        return;
    const QSqlError error = query.lastError();
    // The ODBC driver still calls a connection open after the server has ended it, and
    // every later statement would fail the same way: the next one opens it afresh.
    if (m_db.driverName() == QLatin1String("QODBC"))
        m_abrirDeNuevo = true;
    QString description = error.databaseText().trimmed();
    if (description.isEmpty())
        description = error.text().trimmed();
    if (description.isEmpty())
        description = QStringLiteral("La base de datos rechazó la instrucción sin indicar el motivo");
    throw AppError(DataAccessErrors::kStatement, DataAccessErrors::source(), description);
}

bool SqlConnection::crearRs(std::shared_ptr<Recordset> &rs)
{
    ensureOpen();
    QSqlQuery query(m_db);
    run(query);
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
    const bool any = !rows.empty();
    rs = std::make_shared<Recordset>(std::move(names), std::move(rows));
    return any;
}

long SqlConnection::ejecutar()
{
    ensureOpen();
    QSqlQuery query(m_db);
    run(query);
    return query.numRowsAffected();
}

// Only the embedded engine locks a file per statement; servers need nothing here. Holding the
// file for the run needs every other program out of it, even one that merely has it open:
// then the run goes on statement by statement, as without the hold.
void SqlConnection::comenzarTanda()
{
    if (!esSqlite())
        return;
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
}

// A run that met another program's lock can keep the file locked even after going back to
// normal mode: closing the connection is the one sure way to let go. The next statement
// opens it again.
void SqlConnection::terminarTanda()
{
    if (!esSqlite() || !m_db.isOpen())
        return;
    m_db.close();
}
