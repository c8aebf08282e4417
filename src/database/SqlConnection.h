#pragma once

#include "database/CapturaSqlite.h"
#include "database/ConsultasPostgres.h"
#include "database/DatabaseConnection.h"
#include "database/ErrorDeMotor.h"
#include "database/FormasEnDialecto.h"
#include "database/Sentencia.h"
#include "database/SentenciasSqlite.h"
#include "database/SqlDialect.h"
#include "database/VigiaDeRespuesta.h"

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QStringList>
#include <functional>
#include <vector>

class AppError;
class QSqlQuery;
struct sqlite3;
struct pg_conn;

// The connection object of one entity over an open Qt SQL connection, which it owns:
// the named Qt connection is removed when this object goes.
class SqlConnection : public DatabaseConnection {
public:
    SqlConnection(const QSqlDatabase &db, SqlDialect::Kind dialect);
    ~SqlConnection() override;
    SqlConnection(const SqlConnection &) = delete;
    SqlConnection &operator=(const SqlConnection &) = delete;

    void setSql(const Sentencia &sentencia) override { m_sentencia = sentencia; }
    QString sql() const override { return m_sentencia.texto(); }
    bool crearRs(std::shared_ptr<Recordset> &rs) override;
    bool leerCodificadas(std::vector<QByteArray> &filas) override;
    bool leerEnUnaPasada(const QString &tabla, qsizetype filas) override;
    long ejecutar() override;
    void comenzarTanda(const std::function<void()> &alEsperar = {}) override;
    void confirmarTanda() override;
    void terminarTanda() override;
    void tandaEntera() override { m_entera = true; }
    void descartarTanda() override;
    int sentenciasPorEnvio() const override;
    bool ejecutarJuntas(const std::vector<Sentencia> &sentencias, std::vector<long> *cambiados = nullptr) override;
    bool tandaPerdida() const override { return m_perdida; }
    bool capturarCambios(const QString &tabla, const QStringList &columnas) override;
    CambiosCapturados cambiosCapturados() override;
    void alConfirmar(std::function<void()> aviso) override { m_alConfirmar = std::move(aviso); }

    // How long a run waits for another run's hold on the catalog, and a statement for the
    // server's answer, before it gives up with a message.
    void setEsperaMaxima(int segundos) { m_esperaMaximaMs = qint64(segundos) * 1000; }

    // The text that reaches the database for the statement held in sql(), when it goes as text.
    QString translatedSql() { return m_formas.escrita(m_sentencia); }

private:
    // A server's window costs a few round trips whatever its length; a long one pays them
    // less often. The sender still closes a window after its own time limit.
    static constexpr int kSentenciasPorEnvio = 1024;
    // One pass over a table of up to this many bytes a row asked for costs at most a few times
    // the key lookups of those rows; fewer rows than a grouped question are asked as one anyway.
    static constexpr qint64 kBytesPorFilaEnUnaPasada = 2048;
    static constexpr qsizetype kFilasParaUnaPasada = 256;
    // A window the server gave up for a deadlock is sent again, a few times.
    static constexpr int kReintentosPorBloqueo = 3;

    bool esSqlite() const;
    bool esPostgres() const;
    QString describir(const QSqlError &error) const;
    [[noreturn]] void rechazar(const QSqlError &error);
    [[noreturn]] void rechazar(const QString &descripcion);
    void prepararSqlite();
    void ensureOpen();
    void abrirParaSentencia();
    void run(QSqlQuery &query);
    void run(QSqlQuery &query, const QString &texto);
    QString textoDeConsulta();
    QString textoDeComando(const Sentencia &sentencia);
    bool prepararEnTransaccion(const QString &texto);
    bool exec(QSqlQuery &query, const QString &texto);
    bool vigilado(const std::function<bool()> &sentencia);
    long ejecutarSolo(const Sentencia &sentencia);
    long ejecutarUna(const Sentencia &sentencia);
    sqlite3 *motorSqlite() const;
    std::shared_ptr<Recordset> consultarSqlite(sqlite3 *motor);
    pg_conn *conexionPostgres() const;
    bool leerDePostgres(pg_conn *servidor, std::vector<QByteArray> &filas);
    bool ejecutarSqlite(sqlite3 *motor, const Sentencia &sentencia, long &cambiados);
    [[noreturn]] void falloSqlite(int codigo, const QString &motivo);
    void cerrar();
    void tomarArchivo(const std::function<void()> &alEsperar);
    void tomarTurno(const std::function<void()> &alEsperar);
    void soltarTurno();
    void esperar(QElapsedTimer &reloj, bool &avisado, const std::function<void()> &alEsperar);
    void perder(const QString &descripcion);
    [[noreturn]] void rechazarPerdido(const QString &descripcion);
    void confirmarArchivo();
    void avisarConfirmacion();
    void deshacerAbierto();
    void reponer(const AppError &error, ErrorDeMotor::Clase clase);
    void guardarHecha();
    bool enviarJuntos(const QStringList &textos, QSqlError &error, long *cambiados = nullptr,
                      std::vector<long> *cadaUno = nullptr);
    void abrirTransaccion();
    long ejecutarEnTransaccion(const QString &texto);
    void volverAlPunto(const QSqlError &error);
    bool bloqueoMutuo(const QSqlError &error, int &intentos);

    QSqlDatabase m_db;
    SqlDialect::Kind m_dialect;
    // The statements in the database's dialect, rewritten once per shape; the embedded
    // engine's prepared once per shape.
    FormasEnDialecto m_formas;
    SentenciasSqlite m_sqlite;
    // A server's questions planned once per shape, outside a run's transaction.
    ConsultasPostgres m_postgres;
    // The commands of a whole-or-nothing run (an undo), many of one shape.
    ConsultasPostgres m_comandosPostgres;
    Sentencia m_sentencia;
    bool m_abrirDeNuevo = false;
    qint64 m_esperaMaximaMs = 60'000;
    VigiaDeRespuesta m_vigia;
    // A run of the embedded engine holds the file's write lock in one transaction, from its
    // start to confirmarTanda.
    bool m_tanda = false;
    bool m_enTransaccion = false;
    // The commands of that transaction, for the rare failure that rolls it back whole; their
    // values with one shared copy of each shape, and only up to kBytesParaReponer: past that
    // (a batch run of hundreds of thousands of articles) such a failure leaves nothing of the
    // run, and says so.
    static constexpr qsizetype kBytesParaReponer = 64 * 1024 * 1024;
    std::vector<Sentencia> m_hechas;
    qsizetype m_bytesHechas = 0;
    bool m_sinReposicion = false;
    // A server's run: one transaction from its first command to confirmarTanda, with a
    // savepoint after the last command that stood, and the catalog's turn held for it.
    bool m_unaTransaccion = false;
    bool m_abierta = false;
    bool m_turno = false;
    // The run's transaction is gone: nothing of the run stands, and every later command of
    // the run reports why.
    bool m_perdida = false;
    QString m_motivoPerdida;
    // The run stands whole or not at all (tandaEntera): a failing command commits nothing.
    bool m_entera = false;
    CapturaSqlite m_captura;
    std::function<void()> m_alConfirmar;
};
