#include "components/ComponentRegistry.h"

#include "database/DAMMain.h"
#include "files/clManejo.h"
#include "files/clSistema.h"
#include "workbook/WorkbookEngine.h"

// One line per component the program ships. Keep this the only file that knows them all.
ComponentRegistry::Factory BuiltInComponents::factoryFor(const QString &name)
{
    if (name == QLatin1String("DataAccessManager.DAMMain"))
        return [] { return std::make_shared<DAMMain>(); };
    if (name == QLatin1String("oFILES.clSistema"))
        return [] { return std::make_shared<clSistema>(); };
    if (name == QLatin1String("oFILES.clManejo"))
        return [] { return std::make_shared<clManejo>(); };
    if (name == QLatin1String("Excel.Application"))
        return [] { return std::make_shared<WorkbookEngine>(); };
    return {};
}
