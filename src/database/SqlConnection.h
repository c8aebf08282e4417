#pragma once

#include "database/DatabaseConnection.h"
#include "database/PlantillasSqlite.h"
#include "database/SqlDialect.h"

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QStringList>

class QSqlQuery;
struct sqlite3;

// The connection object of one entity over an open Qt SQL connection, which it owns:
// the named Qt connection is removed when this object goes.
class SqlConnection : public DatabaseConnection {
public:
    SqlConnection(const QSqlDatabase &db, SqlDialect::Kind dialect);
    ~SqlConnection() override;
    SqlConnection(const SqlConnection &) = delete;
    SqlConnection &operator=(const SqlConnection &) = delete;

    void setSql(const QString &statement) override { m_sql = statement; }
    QString sql() const override { return m_sql; }
    bool crearRs(std::shared_ptr<Recordset> &rs) override;
    long ejecutar() override;
    void comenzarTanda() override;
    void confirmarTanda() override;
    void terminarTanda() override;
    int sentenciasPorEnvio() const override;
    bool ejecutarJuntas(const QStringList &sentencias) override;
    bool tandaPerdida() const override { return m_perdida; }

    // The text that reaches the database for the statement held in sql().
    QString translatedSql() const { return SqlDialect::translate(m_sql, m_dialect); }

private:
    static constexpr int kSentenciasPorVentana = 256;
    // A server's window costs a few round trips whatever its length; a long one pays them
    // less often. The sender still closes a window after its own time limit.
    static constexpr int kSentenciasPorEnvio = 1024;
    static constexpr qint64 kMsPorVentana = 50;

    bool esSqlite() const;
    [[noreturn]] void rechazar(const QSqlError &error);
    void prepararSqlite();
    void ensureOpen();
    void abrirParaSentencia();
    void run(QSqlQuery &query);
    void run(QSqlQuery &query, const QString &texto);
    long ejecutarSolo(const QString &sentencia);
    sqlite3 *motorSqlite() const;
    bool ejecutarSqlite(sqlite3 *motor, const QString &sentencia, long &cambiados);
    void cerrar();
    void cerrarVentana();
    bool enviarJuntos(const QStringList &textos, QSqlError &error, long *cambiados = nullptr);
    void abrirTransaccion();
    long ejecutarEnTransaccion(const QString &texto);
    void volverAlPunto(const QSqlError &error);

    QSqlDatabase m_db;
    SqlDialect::Kind m_dialect;
    // The embedded engine's commands, prepared once per shape.
    PlantillasSqlite m_plantillas;
    QString m_sql;
    bool m_abrirDeNuevo = false;
    // A run of the embedded engine: its commands go in transactions ("windows").
    bool m_tanda = false;
    bool m_enVentana = false;
    // The file is held for the run: the whole run is one window.
    bool m_ventanaUnica = false;
    QStringList m_ventana;
    QElapsedTimer m_reloj;
    // A server's run: one transaction from its first command to confirmarTanda, with a
    // savepoint after the last command that stood.
    bool m_unaTransaccion = false;
    bool m_abierta = false;
    // The session ended with the run's transaction: nothing of the run stands, and every
    // later command of the run reports the server's message of then.
    bool m_perdida = false;
    QSqlError m_errorPerdida;
};
