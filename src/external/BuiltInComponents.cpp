#include "external/ComponentRegistry.h"

#include "external/database/DAMMain.h"
#include "external/files/clManejo.h"
#include "external/files/clSistema.h"
#include "external/workbook/WorkbookEngine.h"

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
