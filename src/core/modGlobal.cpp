#include "core/modGlobal.h"
#include "core/modTexto.h"

#include "core/AppError.h"
#include "core/ErrorText.h"
#include "core/UserIdentity.h"
#include "core/VersionInfo.h"

#include <QDebug>

namespace modGlobal {

QString UsuarioSesion;
std::shared_ptr<DataAccessManager> AccesoDatos;
std::shared_ptr<FileSystemComponent> SistemaArchivos;
QString CampoElegido;
QString EsmElegido;
QString IdCatalogoActual;
Aviso AvisoDeError = [](const QString &texto, const QString &titulo) {
    qWarning().noquote() << titulo + QStringLiteral(": ") + texto;
};

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
    return VersionInfo::appTitle() + QStringLiteral(" - v.") + VersionInfo::text();
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
        AvisoDeError(ErrorText::enModulo(e, QStringLiteral("in procedure get_Usuario of Módulo modGlobal - "), 0),
                     tituloConVersion());
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
        AvisoDeError(ErrorText::enModulo(e, QStringLiteral("in procedure LEERNOMBREPC of Módulo modGlobal - "), 0),
                     tituloConVersion());
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
