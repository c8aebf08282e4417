#pragma once

#include "database/FormasEnDialecto.h"
#include "database/Sentencia.h"

#include <QHash>
#include <QString>
#include <QVariantList>
#include <functional>
#include <memory>
#include <vector>

class QSqlDatabase;
class QSqlQuery;

struct sqlite3;
struct sqlite3_stmt;

// The embedded engine spends most of a command reading its text: a statement with values is
// prepared once per shape and run with its values bound, each one the very value the engine
// would have read from the written-out text, so the outcome is the same to the bit.
class SentenciasSqlite {
public:
    enum class Resultado { NoAplica, Hecho, Fallo };

    explicit SentenciasSqlite(FormasEnDialecto &formas) : m_formas(formas) {}
    ~SentenciasSqlite();
    SentenciasSqlite(const SentenciasSqlite &) = delete;
    SentenciasSqlite &operator=(const SentenciasSqlite &) = delete;

    // Runs one command with its values bound. NoAplica, having run nothing, for a statement
    // without values or with one that binds otherwise than its text reads (see enlazables);
    // Fallo with the engine's message, the command having changed nothing.
    Resultado ejecutar(sqlite3 *motor, const Sentencia &sentencia, long &cambiados, QString &motivo);
    // Runs the statement with its values bound, handing `fila` each row it gives, the statement
    // standing on it; `alTerminar` once it ran whole. NoAplica and Fallo as ejecutar.
    Resultado recorrer(sqlite3 *motor, const Sentencia &sentencia, const std::function<void(sqlite3_stmt *)> &fila,
                       QString &motivo, const std::function<void()> &alTerminar = {});
    // Runs the question with its values bound, through Qt's driver over db (whose engine is
    // `motor`), which reads its rows as it reads those of a whole text. nullptr, having run
    // nothing, where ejecutar would say NoAplica, or for a question that failed.
    QSqlQuery *consultar(const QSqlDatabase &db, sqlite3 *motor, const Sentencia &sentencia);
    // Lets go of every prepared statement: before the connection closes, which the engine
    // refuses while one is left.
    void olvidar();

private:
    static constexpr int kMaxComandos = 64;
    static constexpr int kMaxConsultas = 300;

    QString conLugares(const Sentencia &sentencia);
    sqlite3_stmt *preparado(sqlite3 *motor, const Sentencia &sentencia);
    bool fechaComoTexto(const Sentencia::Valor &valor, QString &texto) const;
    bool enVariantes(const Sentencia &sentencia, QVariantList &variantes);
    bool vincular(sqlite3_stmt *comando, const Sentencia &sentencia);
    bool numeroDe(const QString &escrito, QVariant &valor);
    void cambiarDeMotor(sqlite3 *motor);
    void soltar();

    FormasEnDialecto &m_formas;
    sqlite3 *m_motor = nullptr;
    // A shape the engine would not take maps to nullptr: its statements run written out.
    QHash<QString, sqlite3_stmt *> m_comandos;
    QHash<QString, std::shared_ptr<QSqlQuery>> m_consultas;
    // "select ?1": reads a number the way the engine reads one written in a statement.
    sqlite3_stmt *m_numero = nullptr;
    // The last command's texts in UTF-8, bound where they stand until it has run.
    std::vector<QByteArray> m_textos;
};
