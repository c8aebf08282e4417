#pragma once

#include "mapping/MapaCampos.h"

#include <QList>
#include <QPair>
#include <QString>

class CamposRecordados;
class GridModel;

// A column a batch run labelled with the field remembered for its header.
struct ColumnaRecordada {
    int columna;
    QString encabezado;
    QString etiqueta;
};

// The column map of a batch run: the header row's labels map as in the window, and each
// COLUMNA=CAMPO pair labels its column as F1 would (the rightmost column of a field wins). A column is a letter (A, B,
// ... AA) or a header text; a field is its name, as ARTICULO or "ANEXAR DESCRIPCION". Raises ArgumentosInvalidos for a
// column or field that does not exist, and AppError (as the window) for a map without the article and one more field.
// With `recordados`, each column no pair names whose header has a remembered field is
// labelled with it first, unless a pair names that field; those columns go to `usadas`
// (filled even when the map is then refused).
RegMapaCampos MapaLote(const GridModel &grilla, const QList<QPair<QString, QString>> &campos,
                       const CamposRecordados *recordados = nullptr, QList<ColumnaRecordada> *usadas = nullptr);

// The letter a sheet gives a column: 0 -> "A", 26 -> "AA".
QString LetraDeColumna(int columna);
