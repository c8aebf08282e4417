#include "report/TextoReporte.h"

#include "modelos/ReviewListModel.h"

QString TextoReporte(const ReviewListModel &lista)
{
    QString texto;
    const int items = lista.itemCount();
    for (int i = 0; i < items; ++i) {
        const int columnas = lista.columns();
        for (int k = 0; k < qMax(columnas, 1); ++k) {
            // A TAB inside a value would shift every later column of the line.
            texto += QString(lista.subItem(i, k)).replace(QLatin1Char('\t'), QLatin1Char(' '));
            texto += QLatin1Char('\t');
        }
        texto += QStringLiteral("\r\n");
    }
    return texto;
}
