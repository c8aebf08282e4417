#pragma once

#include "review/RelacionPais.h"

#include <QString>
#include <functional>

// Asks the operator for the country of an origin value the database does not know; the
// answer is stored in ORG by then. Raises AppError when no answer can be had.
using PreguntaPais = std::function<RelacionPais(const QString &valor)>;

// Translates an origin value through table ORG; an unknown value is handed to `preguntar`.
// Failures are raised as AppError 1111 keeping the source and description of the cause.
// `desdeOrg`, when given, tells whether the answer is a row of ORG for exactly this value.
RelacionPais ObtenerPaisOrigen(const QString &valor, const PreguntaPais &preguntar, bool *desdeOrg = nullptr);
