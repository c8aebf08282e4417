#include "components/ComponentesDeVentana.h"

#include "components/ComponentRegistry.h"
#include "files/clSistema.h"

void ComponentesDeVentana::registrar()
{
    ComponentRegistry::registerBuiltIn(QStringLiteral("oFILES.clSistema"),
                                       [] { return std::make_shared<clSistema>(); });
}
