#pragma once

#include "review/ObtenerPaisOrigen.h"

class QWidget;

// The window's way of asking: the country dialog, modal over `owner`, until the operator
// stores a translation.
PreguntaPais PreguntarConDialogo(QWidget *owner);

// ObtenerPaisOrigen asking through the country dialog.
RelacionPais ObtenerPaisOrigen(const QString &valor, QWidget *owner = nullptr, bool *desdeOrg = nullptr);
