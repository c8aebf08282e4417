#pragma once

#include "database/SqlDialect.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// The embedded engine spends most of a command reading its text. Commands that differ only in
// their literal values share one prepared statement here, run with those values bound: the very
// values the engine would have read from the text, so the outcome is the same to the bit.
// Only insert, update and delete commands are taken, and only where a bound value cannot mean
// anything else than the literal did; any other text is left to the caller, run as it stands.
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
    // Lets go of every prepared statement: before the connection closes, which the engine
    // refuses while one is left.
    void olvidar();

    // A literal of the command, at its place in the text.
    struct Valor {
        enum Tipo { Texto, Entero, Decimal } tipo;
        int desde;
        int largo;
        bool comillasDobles; // a text holding '' for each of its quotes
    };
    // The command with each literal replaced by "?", and the literals in order; false for a
    // text not taken.
    static bool separar(const QByteArray &texto, QByteArray &plantilla, std::vector<Valor> &valores);

private:
    static constexpr int kMaxPlantillas = 64;

    void soltarSentencias();
    sqlite3_stmt *preparada(const QByteArray &plantilla);
    bool vincular(sqlite3_stmt *sentencia, const QByteArray &texto, const std::vector<Valor> &valores);
    bool leerDecimal(const char *desde, int largo, double &valor);

    SqlDialect::Kind m_dialecto;
    sqlite3 *m_motor = nullptr;
    // A template the engine would not take maps to nullptr: its commands run as they stand.
    QHash<QByteArray, sqlite3_stmt *> m_plantillas;
    // "select ?1": reads a decimal the way the engine reads one written in a command.
    sqlite3_stmt *m_decimal = nullptr;
};
