#pragma once

#include "mapping/MapaDeEncabezados.h"

class FlexGrid;
class QComboBox;

// First step of processing: fixes modGlobal::IdCatalogoActual from the catalog lists and
// rebuilds MapaCampos from the grid's header row (exact labels; the rightmost column
// wins). Refuses, with an AppError whose source starts with its location, a missing
// catalog or a map without the article and one more principal field.
void SetearCampos(QComboBox &cboCatalogos, QComboBox &cboIdCatalogo, const FlexGrid &grid);
