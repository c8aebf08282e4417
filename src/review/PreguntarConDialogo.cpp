#include "review/PreguntarConDialogo.h"

#include "core/AppError.h"
#include "core/ErrorNumbers.h"
#include "core/modGlobal.h"
#include "core/modTexto.h"
#include "review/frmRelPais.h"

namespace {
RelacionPais preguntarAlOperador(const QString &valor, QWidget *owner)
{
    frmRelPais &dialogo = frmRelPais::instancia(owner);
    do {
        modGlobal::CampoElegido = valor;
        modGlobal::EsmElegido.clear();
        dialogo.exec();
        // With no country to choose from, reopening would lock the operator in.
        if (modGlobal::CampoElegido.isEmpty() && dialogo.sinPaises())
            throw AppError(ErrorNumbers::kOriginCountry, QStringLiteral("frmRelPais"),
                           QStringLiteral("No hay países en la tabla PAIS: no se puede establecer el país de "
                                          "origen de \"%1\". Cargue la tabla de países y vuelva a procesar.")
                               .arg(modTexto::paraMensaje(valor)));
    } while (modGlobal::CampoElegido.isEmpty());
    return {modGlobal::CampoElegido, modGlobal::EsmElegido};
}
} // namespace

PreguntaPais PreguntarConDialogo(QWidget *owner)
{
    return [owner](const QString &valor) { return preguntarAlOperador(valor, owner); };
}

RelacionPais ObtenerPaisOrigen(const QString &valor, QWidget *owner, bool *desdeOrg)
{
    return ObtenerPaisOrigen(valor, PreguntarConDialogo(owner), desdeOrg);
}
