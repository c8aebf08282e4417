#include "app/IconoPrograma.h"

#include <QPainter>
#include <QSvgRenderer>

static void initAppResources()
{
    Q_INIT_RESOURCE(sorvanta_app);
}

QPixmap IconoPrograma::pixmap(int lado)
{
    initAppResources();
    QPixmap imagen(lado, lado);
    imagen.fill(Qt::transparent);
    QPainter pintor(&imagen);
    QSvgRenderer(QStringLiteral(":/sorvanta/app/sorvanta.svg")).render(&pintor);
    return imagen;
}

QIcon IconoPrograma::icono()
{
    QIcon icono;
    for (int lado : {16, 24, 32, 48, 64, 128})
        icono.addPixmap(pixmap(lado));
    return icono;
}
