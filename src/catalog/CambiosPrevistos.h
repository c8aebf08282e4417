#pragma once

#include "catalog/FilaCatalogo.h"
#include "catalog/RegArticulo.h"

#include <QList>
#include <QString>
#include <optional>

// What F12 will do to one article of the review list, foreseen from the catalog row F11 read.
enum class Prevision {
    Nuevo,     // inserted
    Cambia,    // updated, with at least one value that differs
    SoloSello, // updated, yet only USUARIO and FECHA change
    NoSeEnvia, // existing, and it brings nothing the update would write
    SinFila,   // existing, but its row could not be read whole
};

// One column the update writes with another value than the catalog holds. A null `antes`
// (QString()) stands for a null value in the catalog.
struct CambioPrevisto {
    QString campo;
    QString antes;
    QString despues;
};

struct PrevisionArticulo {
    Prevision tipo = Prevision::Nuevo;
    QList<CambioPrevisto> cambios;
    // Something the operator should know that is no change, e.g. an addition that is lost.
    QString aviso;
};

// True when F12 leaves an existing article alone: nothing it brings would be written.
bool NadaQueActualizar(const RegArticulo &articulo);

// `articulo` exactly as F12 reads it from the review list (see ArticuloDelItem); `fila` the
// catalog row of an existing one. The columns are compared as the catalog will hold them
// after the update; USUARIO and FECHA, which every update renews, are not listed.
PrevisionArticulo PreverArticulo(const QString &idCatalogo, const RegArticulo &articulo,
                                 const std::optional<FilaCatalogo> &fila, const QString &tipoBase);
