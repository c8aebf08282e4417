#pragma once

#include "database/CambiosCapturados.h"
#include "database/Recordset.h"
#include "database/Sentencia.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

// The connection object of one entity. Every statement runs in two steps: set sql(),
// then (after fetching the connection again) crearRs() for a query or ejecutar() for a command.
class DatabaseConnection {
public:
    virtual ~DatabaseConnection() = default;

    // A text converts to a statement without values.
    virtual void setSql(const Sentencia &sentencia) = 0;
    // The statement held, written out.
    virtual QString sql() const = 0;

    // Runs the query held in sql(); rs receives a new recordset on its first row.
    // True when it has at least one row. A rejected statement raises AppError.
    virtual bool crearRs(std::shared_ptr<Recordset> &rs) = 0;
    // The rows of the question set by setSql, each in FilaCodificada's bytes, appended to
    // `filas`; false when it found none. Where the engine allows, no Qt value is made.
    virtual bool leerCodificadas(std::vector<QByteArray> &filas);
    // Whether `filas` rows of `tabla`, asked for by key, are better read in one question over
    // the whole table than in short grouped ones: where each question costs a round trip and
    // the table is at most a few times those rows. Never raises.
    virtual bool leerEnUnaPasada(const QString & /*tabla*/, qsizetype /*filas*/) { return false; }

    // Runs the command held in sql(); the number of rows changed. A rejected statement
    // raises AppError whose description is the database's own message.
    virtual long ejecutar() = 0;

    // Around a run of many statements from one operation, with no operator input in
    // between: the connection may keep the database to itself meanwhile, and commit the
    // run's commands in groups or all at confirmarTanda: when a command fails, those before
    // it stand once confirmarTanda has run. confirmarTanda commits what is still open
    // (raising AppError when that fails); terminarTanda lets go and never raises.
    // A run waits for another run on the same catalog to end; `alEsperar` hears once when that
    // wait passes a second. Raises AppError when it lasts too long.
    virtual void comenzarTanda(const std::function<void()> & /*alEsperar*/ = {}) {}
    virtual void confirmarTanda() {}
    virtual void terminarTanda() {}
    // The run begun next stands whole or not at all: a failing command leaves what went before
    // it uncommitted, for confirmarTanda or descartarTanda. Where the connection has no such
    // run (ODBC), each command still commits on its own.
    virtual void tandaEntera() {}
    // Rolls back what the run executed and lets go; never raises.
    virtual void descartarTanda() { terminarTanda(); }
    // True once the run's transaction went with its session: nothing the run executed stands.
    virtual bool tandaPerdida() const { return false; }

    // Where the engine can keep them itself, the rows of `tabla` the next run inserts or
    // updates, by `columnas`, with no row read twice: called before comenzarTanda; false where
    // it cannot. cambiosCapturados gives them, in the order the commands ran, until the run ends.
    virtual bool capturarCambios(const QString & /*tabla*/, const QStringList & /*columnas*/) { return false; }
    virtual CambiosCapturados cambiosCapturados() { return {}; }
    // Heard just before the run commits, whatever commits it (a stop too); forgotten at
    // terminarTanda. What it raises is its own to report: the commit goes on.
    virtual void alConfirmar(std::function<void()> /*aviso*/) {}

    // How many commands of a run the connection sends to the database at once through
    // ejecutarJuntas; 1 when each goes through ejecutar.
    virtual int sentenciasPorEnvio() const { return 1; }
    // Runs the commands in one round trip, all of them or none. False when one failed:
    // none stands, those before them do. `cambiados`, where given and the database tells:
    // the rows each command changed, in order (left empty where it does not tell).
    // A connection lost on the way raises AppError with the database's own message.
    virtual bool ejecutarJuntas(const std::vector<Sentencia> &, std::vector<long> * /*cambiados*/ = nullptr)
    {
        return false;
    }
};
