#pragma once

#include "mapping/CampoCatalogo.h"

#include <QtGlobal>

// Where one catalog field sits in the grid; `columna` means something only when `asignado`.
struct CampoAsignado {
    qint16 columna = 0;
    bool asignado = false;
};

// Field-to-column map built from the grid's header row by SetearCampos and read by the
// article processing.
struct RegMapaCampos {
    CampoAsignado ARTICULO;
    CampoAsignado DESCRIPCION;
    CampoAsignado ANEXAR_DESCRIPCION;
    CampoAsignado DESCRIPC_MARIA;
    CampoAsignado NCM;
    CampoAsignado KILOS_UNITARIO;
    CampoAsignado PAIS_ORIGEN;
    CampoAsignado OBSERVACION1;
    CampoAsignado OBSERVACION2;
    CampoAsignado OBSERVACION3;
    CampoAsignado UNIDAD;
    CampoAsignado SUFIJOS;

    // The entry of a field; nullptr for CampoCatalogo::Ninguno.
    CampoAsignado *campo(CampoCatalogo c);
    const CampoAsignado *campo(CampoCatalogo c) const;
};

// The application's one map: all zero and unassigned at start.
extern RegMapaCampos MapaCampos;
