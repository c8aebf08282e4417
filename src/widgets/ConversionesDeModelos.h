#pragma once

#include "modelos/ColorTexto.h"

#include <QColor>

// The data models answer the colour and font roles with Qt Core values; the views paint
// with Qt Gui ones. Registering the conversions lets Qt's delegates and headers read them.
namespace ConversionesDeModelos {

// Once per program; every view over the models calls it before showing them.
void registrar();

QColor aQColor(const ColorTexto &color);
ColorTexto aColorTexto(const QColor &color);

} // namespace ConversionesDeModelos
