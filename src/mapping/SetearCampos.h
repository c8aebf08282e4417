#pragma once

#include "mapping/MapaCampos.h"

#include <QStringList>

class FlexGrid;
class QComboBox;

// The map a header row gives: a cell holding a field's label exactly stands for that field
// (the rightmost wins).
RegMapaCampos MapaDeEncabezados(const QStringList &encabezados);
// Refuses, with AppError (validation, source "Campos Excel"), a map without the article and
// one more field that says what it is (remarks, unit and suffixes alone do not).
void ValidarMapa(const RegMapaCampos &mapa);

// First step of processing: fixes modGlobal::IdCatalogoActual from the catalog lists and
// rebuilds MapaCampos from the grid's header row (exact labels; the rightmost column
// wins). Refuses, with an AppError whose source starts with its location, a missing
// catalog or a map without the article and one more principal field.
void SetearCampos(QComboBox &cboCatalogos, QComboBox &cboIdCatalogo, const FlexGrid &grid);
