#include "catalog/ItemRevision.h"

#include "core/modTexto.h"
#include "modelos/ReviewListModel.h"

using modTexto::recortar;
using modTexto::sinApostrofes;

QString CodigoDelItem(const ReviewListModel &lista, int item)
{
    return sinApostrofes(recortar(lista.subItem(item, 0)));
}

RegArticulo ArticuloDelItem(const ReviewListModel &lista, int item)
{
    auto sub = [&](int k) { return lista.subItem(item, k); };
    RegArticulo art;
    art.idarticulo = CodigoDelItem(lista, item);
    art.descripcion = sinApostrofes(recortar(sub(1)));
    art.descripcion_maria = sinApostrofes(recortar(sub(2)));
    art.ncm = recortar(sub(3));
    art.estado = sub(4);
    art.ncm_catalogo = sub(5);
    art.anexo_descripcion = sinApostrofes(recortar(sub(6)));
    art.kilos_unitario = modTexto::aNumero(recortar(sub(7)));
    art.idpais = recortar(sub(8));
    art.observacion1 = recortar(sub(9));
    art.observacion2 = recortar(sub(10));
    art.observacion3 = recortar(sub(11));
    art.idunidad = recortar(sub(12));
    art.sufijos = recortar(sub(13));
    return art;
}
