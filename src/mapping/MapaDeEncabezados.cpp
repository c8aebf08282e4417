#include "mapping/MapaDeEncabezados.h"

#include "core/AppError.h"
#include "core/ErrorNumbers.h"
#include "mapping/CampoCatalogo.h"

#include <limits>

RegMapaCampos MapaDeEncabezados(const QStringList &encabezados)
{
    const QStringList etiquetas = etiquetasCampos();
    RegMapaCampos mapa;
    for (int c = 0; c < encabezados.size(); ++c) {
        const int indice = etiquetas.indexOf(encabezados[c]);
        if (indice <= 0)
            continue;
        if (c > std::numeric_limits<qint16>::max())
            throw AppError(ErrorNumbers::kOverflow, QStringLiteral("Sorvanta"), QStringLiteral("Desbordamiento"));
        CampoAsignado *campo = mapa.campo(static_cast<CampoCatalogo>(indice));
        campo->columna = static_cast<qint16>(c);
        campo->asignado = true;
    }
    return mapa;
}

void ValidarMapa(const RegMapaCampos &m)
{
    const bool otro = m.NCM.asignado || m.DESCRIPCION.asignado || m.DESCRIPC_MARIA.asignado || m.KILOS_UNITARIO.asignado
                      || m.PAIS_ORIGEN.asignado;
    if (!m.ARTICULO.asignado || !otro)
        throw AppError(ErrorNumbers::kValidation, QStringLiteral("Campos Excel"),
                       QStringLiteral("Falta seleccionar columnas, mínimo Artículo y Una más"));
}
