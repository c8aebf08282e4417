#pragma once

#include <QString>
#include <QVariant>

// The columns of one row of catarticulos that the update may write, as the catalog holds
// them, read by F11. A null value is a null QVariant: the update treats a null description
// unlike an empty one.
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
    // False when the answer lacked a column the update may write: nothing can be foreseen.
    bool completa = false;
};
