#pragma once

#include <QString>

// One article on its way from the grid, through the review list, to the catalog.
// A fresh record has every text empty and a weight of 0.
struct RegArticulo {
    QString idarticulo;
    QString descripcion;
    QString descripcion_maria;
    QString ncm;
    QString estado;
    QString ncm_catalogo;
    QString anexo_descripcion;
    double kilos_unitario = 0;
    QString idpais;
    QString observacion1;
    QString observacion2;
    QString observacion3;
    QString idunidad;
    QString sufijos;
};
