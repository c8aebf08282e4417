#pragma once

#include "catalog/CambiosPrevistos.h"

#include <QString>
#include <algorithm>
#include <vector>

class ReviewListModel;

// What F12 will do to each item of the review list, item for item, as F11 foresaw it.
// It stands beside the list: the list's columns and the report stay as they are.
class VistaPrevia {
public:
    struct Totales {
        int nuevos = 0;
        int existentes = 0;
        int cambian = 0;
        int sinCambios = 0; // only USUARIO and FECHA renewed, or not sent at all
        int sinVista = 0;
    };

    void limpiar() { m_items.clear(); }
    // Room for the items of a run, taken once.
    void reservar(int items) { m_items.reserve(static_cast<std::size_t>(std::max(items, 0))); }
    // The foresight of the next item of the list.
    void agregar(PrevisionArticulo prevision) { m_items.push_back(std::move(prevision)); }
    // The items of another list, appended after these.
    void agregar(const VistaPrevia &otra);

    int cantidad() const { return static_cast<int>(m_items.size()); }
    // Null for an item that has none.
    const PrevisionArticulo *de(int item) const;

    Totales totales() const;
    // "Nuevos: 120 · Existentes: 880 (312 cambian, 568 sin cambios)".
    QString textoTotales() const;
    // For the operator: what F12 will do to the item, one line a change.
    QString explicacion(int item) const;
    // Every change of `lista` (whose items these are): article, column, before, after, TAB
    // separated, one CR LF line each; a null before is written empty.
    QString textoCambios(const ReviewListModel &lista) const;

    // A value as the operator reads it: a null and an empty text are told apart.
    static QString valorVisible(const QString &valor);

private:
    std::vector<PrevisionArticulo> m_items;
};
