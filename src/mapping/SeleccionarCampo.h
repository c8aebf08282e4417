#pragma once

#include <QString>

class FlexGrid;

// F1 in the grid: asks the field chooser for a label and writes it (or "" for none,
// Escape or the close box) into the header cell of the grid's current column. Shows any
// error itself.
void SeleccionarCampo(FlexGrid &grid);

// Writes a field's label (or "" for none) into a column's header cell, as F1 does.
void EtiquetarColumna(FlexGrid &grid, int col, const QString &etiqueta);
