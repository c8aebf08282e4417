#pragma once

#include "mapping/MapaCampos.h"

#include <QList>
#include <QPair>
#include <QString>

class GridModel;

// The column map of a batch run: the header row's labels map as in the window, and each
// COLUMNA=CAMPO pair labels its column as F1 would (the rightmost column of a field wins). A column is a letter (A, B,
// ... AA) or a header text; a field is its name, as ARTICULO or "ANEXAR DESCRIPCION". Raises ArgumentosInvalidos for a
// column or field that does not exist, and AppError (as the window) for a map without the article and one more field.
RegMapaCampos MapaLote(const GridModel &grilla, const QList<QPair<QString, QString>> &campos);
