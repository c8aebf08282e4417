#pragma once

#include "database/CambioDeFila.h"

#include <QString>
#include <QStringList>
#include <vector>

struct sqlite3;

// The rows a run inserts into or updates in one table of the embedded engine, kept by the
// engine itself as each command runs: temporary triggers of this connection copy the row
// before and after into a temporary table, which goes with the connection. Nothing is added to
// the database file, no row is read twice, and a rolled-back command leaves nothing behind.
// Made outside the run's transaction, so that a rollback of the run keeps the triggers.
class CapturaSqlite {
public:
    // False, with nothing made, when the engine refuses (a column it lacks, say).
    bool crear(sqlite3 *motor, const QString &tabla, const QStringList &columnas);
    // In the order the commands ran: an update gives its row before and after, an insert its row after.
    std::vector<CambioDeFila> leer(sqlite3 *motor) const;
    void quitar(sqlite3 *motor);
    bool activa() const { return m_columnas > 0; }

private:
    int m_columnas = 0;
};
