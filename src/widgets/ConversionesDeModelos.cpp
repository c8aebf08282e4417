#include "widgets/ConversionesDeModelos.h"

#include "modelos/GridModel.h"

#include <QBrush>
#include <QFont>

namespace ConversionesDeModelos {

void registrar()
{
    static const bool hecho = [] {
        QMetaType::registerConverter<ColorTexto, QColor>(aQColor);
        QMetaType::registerConverter<ColorTexto, QBrush>([](const ColorTexto &c) { return QBrush(aQColor(c)); });
        QMetaType::registerConverter<GridModel::Negrita, QFont>([](const GridModel::Negrita &) {
            QFont negrita;
            negrita.setBold(true);
            return negrita;
        });
        return true;
    }();
    Q_UNUSED(hecho);
}

QColor aQColor(const ColorTexto &color)
{
    return color.isValid() ? QColor(color.red(), color.green(), color.blue()) : QColor();
}

ColorTexto aColorTexto(const QColor &color)
{
    return color.isValid() ? ColorTexto(color.red(), color.green(), color.blue()) : ColorTexto();
}

} // namespace ConversionesDeModelos
