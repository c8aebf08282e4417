#pragma once

#include "core/Component.h"

#include <QString>
#include <functional>
#include <memory>

// Creates outside components by their names ("DataAccessManager.DAMMain",
// "oFILES.clSistema", "oFILES.clManejo", "Excel.Application").
// Tests register substitutes under the same names.
namespace ComponentRegistry {

using Factory = std::function<std::shared_ptr<Component>()>;

// A substitute for one name; it wins over the built-in component until reset().
void registerSubstitute(const QString &name, Factory factory);
void reset();

// A component of the program that lives above this folder: the file dialog ("oFILES.clSistema")
// needs Qt Widgets, which the batch program does not link, so the window program registers it
// (ComponentesDeVentana). reset() keeps it.
void registerBuiltIn(const QString &name, Factory factory);

// Raises AppError 429 when no component of that name exists.
std::shared_ptr<Component> createObject(const QString &name);

// The same, as the interface the caller expects; a component of another kind raises 13.
template <class T> std::shared_ptr<T> create(const QString &name);

} // namespace ComponentRegistry

// The program's own components, keyed by name (BuiltInComponents.cpp).
namespace BuiltInComponents {
ComponentRegistry::Factory factoryFor(const QString &name);
}

#include "components/ComponentRegistry_impl.h"
