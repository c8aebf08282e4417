#pragma once

#include <QString>
#include <QStringList>

// The catalog fields a spreadsheet column can stand for, in the chooser's order. The
// label is a field's identity: a header cell stands for a field only when it holds the
// label exactly (case and blanks included).
enum class CampoCatalogo {
    Ninguno,
    Articulo,
    Descripcion,
    AnexarDescripcion,
    DescripcMaria,
    Ncm,
    KilosUnitario,
    PaisOrigen,
    Observacion1,
    Observacion2,
    Observacion3,
    Unidad,
    Sufijos,
};

constexpr int kCantidadCampos = 13;

// "< ninguno >", "[ ARTICULO ]", ... "[   UNIDAD     ]", "[ SUFIJOS ]".
QString etiquetaCampo(CampoCatalogo campo);

// The thirteen labels, index = CampoCatalogo value.
QStringList etiquetasCampos();
