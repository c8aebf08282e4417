#pragma once

#include "database/CambiosCapturados.h"

#include <QString>
#include <QStringList>
#include <vector>

struct sqlite3;

// The rows a run inserts into or updates in one table of the embedded engine, handed over by
// the engine itself just before it writes each one (its pre-update hook): nothing is added to
// the database, no row is read twice, and no Qt value is made on the way. What a command
// recorded goes again when the command fails, and all of it when the engine rolls the run back.
class CapturaSqlite {
public:
    // False, with nothing recorded, when the table lacks one of the columns.
    bool crear(sqlite3 *motor, const QString &tabla, const QStringList &columnas);
    void quitar(sqlite3 *motor);
    bool activa() const { return m_motor != nullptr; }

    // Around each command: the rows it recorded go when it fails.
    std::size_t marca() const { return m_cambios.size(); }
    void volverA(std::size_t marca) { m_cambios.volverA(marca); }
    // The engine rolled the whole run back.
    void vaciar() { m_cambios.clear(); }

    // In the order the engine wrote them.
    const CambiosCapturados &cambios() const { return m_cambios; }

    // Called by the engine; public for its C callback only.
    void registrar(int operacion, const char *tabla);

private:
    sqlite3 *m_motor = nullptr;
    bool m_utf8 = false;
    QByteArray m_tabla;
    // Where each column of the row stands in the table.
    std::vector<int> m_posiciones;
    CambiosCapturados m_cambios;
};
