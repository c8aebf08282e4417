#pragma once

#include "database/SqlDialect.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVariantList>

#include <memory>
#include <vector>

class QSqlDatabase;
class QSqlQuery;

struct sqlite3;
struct sqlite3_stmt;

// The embedded engine spends most of a command reading its text. Commands that differ only in
// their literal values share one prepared statement here, run with those values bound: the very
// values the engine would have read from the text, so the outcome is the same to the bit.
// Only insert, update and delete commands are taken, and selects for the literals after their
// where, and only where a bound value cannot mean anything else than the literal did; any other
// text is left to the caller, run as it stands.
class PlantillasSqlite {
public:
    enum class Resultado { NoAplica, Hecho, Fallo };

    explicit PlantillasSqlite(SqlDialect::Kind dialecto) : m_dialecto(dialecto) {}
    ~PlantillasSqlite();
    PlantillasSqlite(const PlantillasSqlite &) = delete;
    PlantillasSqlite &operator=(const PlantillasSqlite &) = delete;

    // Runs one command, in UTF-8 and as the program wrote it: the template is put in the
    // engine's dialect once. NoAplica, having run nothing, for a text this does not take;
    // Fallo with the engine's message, the command having changed nothing.
    Resultado ejecutar(sqlite3 *motor, const QByteArray &texto, long &cambiados, QString &motivo);
    // Runs the select (as the program wrote it) over db, whose engine is `motor`, through Qt's
    // driver, which reads its rows as it reads those of the whole text. nullptr, having run
    // nothing, for a text not taken or a query that failed: the caller runs it as it stands.
    QSqlQuery *consultar(const QSqlDatabase &db, sqlite3 *motor, const QString &sentencia);
    // Lets go of every prepared statement: before the connection closes, which the engine
    // refuses while one is left.
    void olvidar();

private:
    // A literal of the command, at its place in the text.
    struct Valor {
        enum Tipo { Texto, Entero, Decimal } tipo;
        int desde;
        int largo;
        bool comillasDobles; // a text holding '' for each of its quotes
    };
    // The command with each literal replaced by "?", and the literals in order; false for a
    // text not taken.
    static bool separar(const QByteArray &texto, QByteArray &plantilla, std::vector<Valor> &valores,
                        bool consulta = false);

    static constexpr int kMaxPlantillas = 64;
    static constexpr int kMaxConsultas = 160;

    void soltarSentencias();
    sqlite3_stmt *preparada(const QByteArray &plantilla);
    bool vincular(sqlite3_stmt *sentencia, const QByteArray &texto, const std::vector<Valor> &valores);
    bool leerDecimal(const char *desde, int largo, double &valor);
    void cambiarDeMotor(sqlite3 *motor);
    bool enVariantes(const QByteArray &texto, const std::vector<Valor> &valores, QVariantList &variantes);

    SqlDialect::Kind m_dialecto;
    sqlite3 *m_motor = nullptr;
    // A template the engine would not take maps to nullptr: its commands run as they stand.
    QHash<QByteArray, sqlite3_stmt *> m_plantillas;
    QHash<QByteArray, std::shared_ptr<QSqlQuery>> m_consultas;
    // The last command's parts, their room kept for the next.
    QByteArray m_plantilla;
    std::vector<Valor> m_valores;
    // "select ?1": reads a decimal the way the engine reads one written in a command.
    sqlite3_stmt *m_decimal = nullptr;
};
