#pragma once

#include <QString>
#include <QStringList>

class FlexGrid;

// The remembered fields of a catalog (CamposRecordados) on the grid of the main window.

// Labels, as F1 would, every column whose header is still the sheet's own text and matches
// a header remembered for the catalog. Gives how many columns it labelled.
int EtiquetarRecordados(FlexGrid &grid, const QStringList &encabezadosHoja, const QString &idCatalogo);
// Remembers the fields the header row gives the sheet's columns. Raises AppError when the
// settings store cannot be written.
void RecordarEtiquetas(const FlexGrid &grid, const QStringList &encabezadosHoja, const QString &idCatalogo);
// The line that tells the operator: "7 columnas con los campos de la carga anterior (F1 para cambiar)".
QString TextoCamposRecordados(int columnas);
