#pragma once

#include "core/AppError.h"
#include "core/ErrorNumbers.h"

template <class T> std::shared_ptr<T> ComponentRegistry::create(const QString &name)
{
    auto object = std::dynamic_pointer_cast<T>(createObject(name));
    if (!object)
        throw AppError(ErrorNumbers::kTypeMismatch, name, QStringLiteral("No coinciden los tipos"));
    return object;
}
