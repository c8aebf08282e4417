#include "mapping/CampoCatalogo.h"

QStringList etiquetasCampos()
{
    return {
        QStringLiteral("< ninguno >"),
        QStringLiteral("[ ARTICULO ]"),
        QStringLiteral("[ DESCRIPCION ]"),
        QStringLiteral("[ ANEXAR DESCRIPCION ]"),
        QStringLiteral("[ DESCRIPC_MARIA ]"),
        QStringLiteral("[ NCM ]"),
        QStringLiteral("[ KILOS_UNITARIO ]"),
        QStringLiteral("[ PAIS_ORIGEN ]"),
        QStringLiteral("[ OBSERVACION1 ]"),
        QStringLiteral("[ OBSERVACION2 ]"),
        QStringLiteral("[ OBSERVACION3 ]"),
        // Wider than the others on purpose: stored headers rely on these exact blanks.
        QStringLiteral("[   UNIDAD     ]"),
        QStringLiteral("[ SUFIJOS ]"),
    };
}

QString etiquetaCampo(CampoCatalogo campo)
{
    return etiquetasCampos().at(static_cast<int>(campo));
}
