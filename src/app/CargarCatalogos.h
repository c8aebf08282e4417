#pragma once

class QComboBox;

// Fills the catalog lists from table catalogo: "[id] description" in the visible list,
// the bare id at the same position in the hidden one. Reports its own failure.
void CargarCatalogos(QComboBox &cboCatalogos, QComboBox &cboIdCatalogo);
