#pragma once

#include <QString>
#include <QVariant>

// One row of catarticulos as the catalog holds it, read by F11. A null value is a null
// QVariant: the update treats a null description unlike an empty one.
struct FilaCatalogo {
    QString idarticulo;
    QVariant descripcion;
    QVariant descripcion_maria;
    QVariant ncm;
    QVariant kilos;
    QVariant idpais;
    QVariant observacion1;
    QVariant observacion2;
    QVariant observacion3;
    QVariant idunidad;
    QVariant sufijos;
    QVariant usuario;
    QVariant fecha;
    // False when the answer lacked a column the update may write: nothing can be foreseen.
    bool completa = false;
};
