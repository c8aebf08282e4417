#pragma once

#include "review/RelacionPais.h"

class QWidget;

// Translates an origin value through table ORG. An unknown value opens the country dialog
// (modally, over `owner`) until the operator stores a translation. Failures are raised
// as AppError 1111 keeping the source and description of the cause.
RelacionPais ObtenerPaisOrigen(const QString &valor, QWidget *owner = nullptr);
