#include "components/ComponentRegistry.h"

#include <QHash>

namespace ComponentRegistry {
namespace {
QHash<QString, Factory> &substitutes()
{
    static QHash<QString, Factory> table;
    return table;
}

QHash<QString, Factory> &builtInAbove()
{
    static QHash<QString, Factory> table;
    return table;
}
} // namespace

void registerSubstitute(const QString &name, Factory factory)
{
    substitutes().insert(name, std::move(factory));
}

void registerBuiltIn(const QString &name, Factory factory)
{
    builtInAbove().insert(name, std::move(factory));
}

void reset()
{
    substitutes().clear();
}

std::shared_ptr<Component> createObject(const QString &name)
{
    Factory factory = substitutes().value(name);
    if (!factory)
        factory = builtInAbove().value(name);
    if (!factory)
        factory = BuiltInComponents::factoryFor(name);
    std::shared_ptr<Component> object = factory ? factory() : nullptr;
    if (!object)
        throw AppError(ErrorNumbers::kCannotCreateComponent, name,
                       QStringLiteral("El componente ActiveX no puede crear el objeto"));
    return object;
}

} // namespace ComponentRegistry
