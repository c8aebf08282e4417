#include "common/modGlobal.h"
#include "common/modTexto.h"

#include "external/DataAccessManager.h"
#include "external/FileSystemComponent.h"
#include "platform/AppError.h"
#include "platform/ErrorText.h"
#include "platform/MsgBox.h"
#include "platform/UserIdentity.h"
#include "platform/VersionInfo.h"

namespace modGlobal {

QString UsuarioSesion;
std::shared_ptr<DataAccessManager> AccesoDatos;
std::shared_ptr<FileSystemComponent> SistemaArchivos;
QString CampoElegido;
QString EsmElegido;
QString IdCatalogoActual;

QString IdentidadSesion()
{
    const QString identidad = modTexto::recortar(get_Usuario()) + QLatin1Char('\\')
                              + modTexto::recortar(LEERNOMBREPC());
    if (QString(identidad).remove(QLatin1Char('\\')).isEmpty())
        return QString();
    return QStringLiteral("Sorvanta - ") + identidad;
}

QString tituloConVersion()
{
    return MsgBox::appTitle() + QStringLiteral(" - v.") + VersionInfo::text();
}

QString get_Usuario()
{
    QString resultado;
    try {
        QString buffer(250, QLatin1Char(' '));
        quint32 largo = 250;
        if (UserIdentity::getUserName(buffer, largo))
            resultado = buffer.left(int(largo) - 1);
    } catch (const AppError &e) {
        MsgBox::show(ErrorText::enModulo(e, QStringLiteral("in procedure get_Usuario of Módulo modGlobal - "), 0),
                     MsgBox::Icon::Exclamation, tituloConVersion());
    }
    return resultado;
}

QString LEERNOMBREPC()
{
    QString resultado = QStringLiteral("AUTO");
    try {
        QString buffer(255, QLatin1Char(' '));
        quint32 largo = 255;
        if (UserIdentity::getComputerName(buffer, largo))
            resultado = buffer.left(int(largo));
    } catch (const AppError &e) {
        MsgBox::show(ErrorText::enModulo(e, QStringLiteral("in procedure LEERNOMBREPC of Módulo modGlobal - "), 0),
                     MsgBox::Icon::Exclamation, tituloConVersion());
    }
    return resultado;
}

void reset()
{
    UsuarioSesion.clear();
    AccesoDatos.reset();
    SistemaArchivos.reset();
    CampoElegido.clear();
    EsmElegido.clear();
    IdCatalogoActual.clear();
}

} // namespace modGlobal
