#pragma once

#include "sheet/LecturaHoja.h"

#include <QString>

class FlexGrid;
class QLabel;
class QLineEdit;
class QWidget;

// Step 1 of the workflow: choose a spreadsheet and copy its first worksheet into the grid.
// Window operations: they take the controls they work on, and report failures in a message box.
namespace modCargaExcel {

// Open-file dialog; a chosen path goes into TxtArchivo. True when a file was chosen.
bool Seleccionar_Archivo_XLS(QLineEdit &TxtArchivo, QWidget *owner);

// Reads the first worksheet of p_Archivo into the grid: row 1 becomes the fixed header row.
// lbLineas shows the reading progress. True when the grid was filled.
bool lf_LevantarExcel(QString p_Archivo, FlexGrid &grid, QLabel &lbLineas);

} // namespace modCargaExcel
