#include "controls/ColorBGR.h"

QColor ColorBGR(quint32 valor)
{
    return QColor(static_cast<int>(valor & 0xFFu), static_cast<int>((valor >> 8) & 0xFFu),
                  static_cast<int>((valor >> 16) & 0xFFu));
}
