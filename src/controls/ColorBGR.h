#pragma once

#include <QColor>
#include <QtGlobal>

// Colour numbers as the operator's forms store them: 0x00BBGGRR (red in the low byte).
QColor ColorBGR(quint32 valor);
