#include "review/ObtenerPaisOrigen.h"

#include "core/AppError.h"
#include "core/ErrorNumbers.h"
#include "review/TablaPaises.h"

RelacionPais ObtenerPaisOrigen(const QString &valor, const PreguntaPais &preguntar, bool *desdeOrg)
{
    if (desdeOrg)
        *desdeOrg = false;
    if (valor.isEmpty())
        return {};
    try {
        RelacionPais relacion;
        if (TablaPaises::buscarOrigen(valor, relacion)) {
            if (desdeOrg)
                *desdeOrg = true;
            return relacion;
        }
        return preguntar(valor);
    } catch (const AppError &e) {
        throw AppError(ErrorNumbers::kOriginCountry, e.source(), e.description());
    }
}
