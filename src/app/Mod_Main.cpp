#include "app/Mod_Main.h"

#include "common/modGlobal.h"
#include "platform/AppError.h"
#include "platform/ErrorText.h"
#include "platform/MsgBox.h"

namespace {
// Only blanks, as the identity may legitimately hold other white space.
QString sinBlancosExtremos(const QString &texto)
{
    int inicio = 0, fin = texto.size();
    while (inicio < fin && texto[inicio] == QLatin1Char(' '))
        ++inicio;
    while (fin > inicio && texto[fin - 1] == QLatin1Char(' '))
        --fin;
    return texto.mid(inicio, fin - inicio);
}
} // namespace

bool GetUserData()
{
    try {
        const QString identidad = sinBlancosExtremos(modGlobal::get_Usuario()) + QLatin1Char('\\')
                                  + sinBlancosExtremos(modGlobal::LEERNOMBREPC());
        if (QString(identidad).remove(QLatin1Char('\\')).isEmpty()) {
            MsgBox::show(QStringLiteral("Existen problemas para identificar al usuario que realizará la "
                                        "modificación. Se abortara la operación."),
                         MsgBox::Icon::Critical, QStringLiteral("Verificacion Previa Ejecucion"));
            return false;
        }
        modGlobal::UsuarioSesion = QStringLiteral("Sorvanta - ") + identidad;
        return true;
    } catch (const AppError &e) {
        MsgBox::show(ErrorText::enModulo(e, QStringLiteral("in procedure GetUserData of Módulo Mod_Main - "), 0),
                     MsgBox::Icon::Exclamation, modGlobal::tituloConVersion());
        return false;
    }
}
