#pragma once

#include "mapping/MapaCampos.h"
#include "review/ObtenerPaisOrigen.h"

#include <QString>
#include <functional>

class GridModel;
class ReviewListModel;
class VistaPrevia;

// What processing needs besides the sheet and the column map.
struct OpcionesProceso {
    QString idCatalogo;
    bool quitarGuiones = false;
};

// What only a front end can do while the rows are processed.
struct PasosProceso {
    // The run has reached grid row `fila`; `ultima` at the last one.
    std::function<void(int fila, bool ultima)> avance;
    // Asks for the country of an origin text the database does not know yet (see ObtenerPaisOrigen).
    PreguntaPais preguntarPais;
};

// F11 without a window: every data row of the grid becomes one checked item of the list,
// marked "Existe" or "Nuevo" by the catalog (the list is emptied first). A row whose code is
// blank (outer blanks never count) yields no item. Raises AppError at the first failure (a
// catalog gone from table catalogo, before anything; a weight that is no finite number,
// naming its sheet row and column); the items made until then stay in the list.
// With `vista`, it gets (emptied first) what F12 will do to each item, item for item.
void ProcesarFilas(const GridModel &grilla, const RegMapaCampos &mapa, const OpcionesProceso &opciones,
                   ReviewListModel &lista, const PasosProceso &pasos, VistaPrevia *vista = nullptr);

// Gives the review list its fourteen columns (once).
void PrepararColumnasRevision(ReviewListModel &lista);
