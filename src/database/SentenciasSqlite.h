#pragma once

#include "database/FormasEnDialecto.h"
#include "database/Sentencia.h"

#include <QHash>
#include <QString>
#include <QVariant>
#include <functional>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// The embedded engine spends most of a command reading its text: a statement with values is
// prepared once per shape and run with its values bound, each one the very value the engine
// would have read from the written-out text, so the outcome is the same to the bit.
class SentenciasSqlite {
public:
    enum class Resultado { NoAplica, Hecho, Fallo };
    // A question's text reaches the engine through Qt in UTF-16, a command's in UTF-8: a value
    // binds as the text of its kind would read. Each kind keeps its own prepared shapes.
    enum class Uso { Comando, Consulta };

    explicit SentenciasSqlite(FormasEnDialecto &formas) : m_formas(formas) {}
    ~SentenciasSqlite();
    SentenciasSqlite(const SentenciasSqlite &) = delete;
    SentenciasSqlite &operator=(const SentenciasSqlite &) = delete;

    // Runs one command with its values bound. NoAplica, having run nothing, for a statement
    // without values or with one that binds otherwise than its text reads (see vincular);
    // Fallo with the engine's message, the command having changed nothing.
    Resultado ejecutar(sqlite3 *motor, const Sentencia &sentencia, long &cambiados, QString &motivo);
    // Runs the statement with its values bound, handing `fila` each row it gives, the statement
    // standing on it; `alTerminar` once it ran whole, the statement still prepared. NoAplica
    // and Fallo as ejecutar.
    Resultado recorrer(sqlite3 *motor, const Sentencia &sentencia, Uso uso,
                       const std::function<void(sqlite3_stmt *)> &fila, QString &motivo,
                       const std::function<void(sqlite3_stmt *)> &alTerminar = {});
    // Lets go of every prepared statement: before the connection closes, which the engine
    // refuses while one is left.
    void olvidar();

private:
    static constexpr int kMaxComandos = 64;
    // F11 asks lists of every length: as many shapes.
    static constexpr int kMaxConsultas = 300;

    sqlite3_stmt *preparado(sqlite3 *motor, const Sentencia &sentencia, Uso uso);
    bool fechaComoTexto(const Sentencia::Valor &valor, QString &texto) const;
    bool vincular(sqlite3_stmt *comando, const Sentencia &sentencia, Uso uso);
    bool numeroDe(const QString &escrito, QVariant &valor);
    void cambiarDeMotor(sqlite3 *motor);
    static void soltar(QHash<QString, sqlite3_stmt *> &preparados);
    void soltar();

    FormasEnDialecto &m_formas;
    sqlite3 *m_motor = nullptr;
    // A shape the engine would not take maps to nullptr: its statements run written out.
    QHash<QString, sqlite3_stmt *> m_comandos;
    QHash<QString, sqlite3_stmt *> m_consultas;
    // "select ?1": reads a number the way the engine reads one written in a statement.
    sqlite3_stmt *m_numero = nullptr;
    // The last command's texts in UTF-8, bound where they stand until it has run.
    std::vector<QByteArray> m_textos;
};
