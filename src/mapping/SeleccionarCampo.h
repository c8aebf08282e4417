#pragma once

class FlexGrid;

// F1 in the grid: asks the field chooser for a label and writes it (or "" for none,
// Escape or the close box) into the header cell of the grid's current column. Shows any
// error itself.
void SeleccionarCampo(FlexGrid &grid);
