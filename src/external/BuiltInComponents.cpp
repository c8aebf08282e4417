#include "external/ComponentRegistry.h"

#include "external/database/DAMMain.h"

// One line per component the program ships. Keep this the only file that knows them all.
ComponentRegistry::Factory BuiltInComponents::factoryFor(const QString &name)
{
    if (name == QLatin1String("DataAccessManager.DAMMain"))
        return [] { return std::make_shared<DAMMain>(); };
    return {};
}
