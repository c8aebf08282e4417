#include "components/ComponentRegistry.h"

#include "database/DAMMain.h"
#include "files/clManejo.h"
#include "workbook/WorkbookEngine.h"

// One line per component the program ships but the file dialog, which the window program
// registers (ComponentesDeVentana). Keep these the only files that know them.
ComponentRegistry::Factory BuiltInComponents::factoryFor(const QString &name)
{
    if (name == QLatin1String("DataAccessManager.DAMMain"))
        return [] { return std::make_shared<DAMMain>(); };
    if (name == QLatin1String("oFILES.clManejo"))
        return [] { return std::make_shared<clManejo>(); };
    if (name == QLatin1String("Excel.Application"))
        return [] { return std::make_shared<WorkbookEngine>(); };
    return {};
}
