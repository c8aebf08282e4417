#include "mapping/MapaCampos.h"

RegMapaCampos MapaCampos;

CampoAsignado *RegMapaCampos::campo(CampoCatalogo c)
{
    return const_cast<CampoAsignado *>(static_cast<const RegMapaCampos *>(this)->campo(c));
}

const CampoAsignado *RegMapaCampos::campo(CampoCatalogo c) const
{
    switch (c) {
    case CampoCatalogo::Ninguno:
        return nullptr;
    case CampoCatalogo::Articulo:
        return &ARTICULO;
    case CampoCatalogo::Descripcion:
        return &DESCRIPCION;
    case CampoCatalogo::AnexarDescripcion:
        return &ANEXAR_DESCRIPCION;
    case CampoCatalogo::DescripcMaria:
        return &DESCRIPC_MARIA;
    case CampoCatalogo::Ncm:
        return &NCM;
    case CampoCatalogo::KilosUnitario:
        return &KILOS_UNITARIO;
    case CampoCatalogo::PaisOrigen:
        return &PAIS_ORIGEN;
    case CampoCatalogo::Observacion1:
        return &OBSERVACION1;
    case CampoCatalogo::Observacion2:
        return &OBSERVACION2;
    case CampoCatalogo::Observacion3:
        return &OBSERVACION3;
    case CampoCatalogo::Unidad:
        return &UNIDAD;
    case CampoCatalogo::Sufijos:
        return &SUFIJOS;
    }
    return nullptr;
}
