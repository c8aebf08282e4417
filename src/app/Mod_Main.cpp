#include "app/Mod_Main.h"

#include "core/AppError.h"
#include "core/ErrorText.h"
#include "core/modGlobal.h"
#include "widgets/MsgBox.h"

bool GetUserData()
{
    modGlobal::AvisoDeError = [](const QString &texto, const QString &titulo) {
        MsgBox::show(texto, MsgBox::Icon::Exclamation, titulo);
    };
    try {
        const QString identidad = modGlobal::IdentidadSesion();
        if (identidad.isEmpty()) {
            MsgBox::show(QStringLiteral("Existen problemas para identificar al usuario que realizará la "
                                        "modificación. Se abortara la operación."),
                         MsgBox::Icon::Critical, QStringLiteral("Verificacion Previa Ejecucion"));
            return false;
        }
        modGlobal::UsuarioSesion = identidad;
        return true;
    } catch (const AppError &e) {
        MsgBox::show(ErrorText::enModulo(e, QStringLiteral("in procedure GetUserData of Módulo Mod_Main - "), 0),
                     MsgBox::Icon::Exclamation, modGlobal::tituloConVersion());
        return false;
    }
}
