#pragma once

#include "review/RelacionPais.h"

class QWidget;

// Translates an origin value through table ORG. An unknown value opens the country dialog
// (modally, over `owner`) until the operator stores a translation. Failures are raised
// as AppError 1111 keeping the source and description of the cause. `desdeOrg`, when
// given, tells whether the answer is a row of ORG for exactly this value (not a dialog's).
RelacionPais ObtenerPaisOrigen(const QString &valor, QWidget *owner = nullptr, bool *desdeOrg = nullptr);
