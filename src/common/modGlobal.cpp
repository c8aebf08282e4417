#include "common/modGlobal.h"

#include "external/DataAccessManager.h"
#include "external/FileSystemComponent.h"

namespace modGlobal {

QString UsuarioSesion;
std::shared_ptr<DataAccessManager> AccesoDatos;
std::shared_ptr<FileSystemComponent> SistemaArchivos;
QString CampoElegido;
QString EsmElegido;
QString IdCatalogoActual;

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
