#include "catalog/VistaPrevia.h"

#include "catalog/ItemRevision.h"
#include "modelos/ReviewListModel.h"

namespace {

// A row of the changes file stays one row with four columns whatever a value holds.
QString celda(QString valor)
{
    for (QChar &c : valor)
        if (c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            c = QLatin1Char(' ');
    return valor;
}

} // namespace

void VistaPrevia::agregar(const VistaPrevia &otra)
{
    m_items.insert(m_items.end(), otra.m_items.begin(), otra.m_items.end());
}

const PrevisionArticulo *VistaPrevia::de(int item) const
{
    return item >= 0 && item < cantidad() ? &m_items[static_cast<std::size_t>(item)] : nullptr;
}

VistaPrevia::Totales VistaPrevia::totales() const
{
    Totales t;
    for (const PrevisionArticulo &p : m_items) {
        switch (p.tipo) {
        case Prevision::Nuevo:
            ++t.nuevos;
            continue;
        case Prevision::Cambia:
            ++t.cambian;
            break;
        case Prevision::SoloSello:
        case Prevision::NoSeEnvia:
            ++t.sinCambios;
            break;
        case Prevision::SinFila:
            ++t.sinVista;
            break;
        }
        ++t.existentes;
    }
    return t;
}

QString VistaPrevia::textoTotales() const
{
    const Totales t = totales();
    QString texto = QStringLiteral("Nuevos: %1 · Existentes: %2 (%3 cambian, %4 sin cambios")
                        .arg(t.nuevos)
                        .arg(t.existentes)
                        .arg(t.cambian)
                        .arg(t.sinCambios);
    if (t.sinVista > 0)
        texto += QStringLiteral(", %1 sin vista previa").arg(t.sinVista);
    return texto + QLatin1Char(')');
}

QString VistaPrevia::valorVisible(const QString &valor)
{
    if (valor.isNull())
        return QStringLiteral("(nulo)");
    if (valor.isEmpty())
        return QStringLiteral("(vacío)");
    return valor;
}

QString VistaPrevia::explicacion(int item) const
{
    const PrevisionArticulo *p = de(item);
    if (!p)
        return QString();
    QString texto;
    switch (p->tipo) {
    case Prevision::Nuevo:
        texto = QStringLiteral("Nuevo: F12 lo agregará al catálogo.");
        break;
    case Prevision::Cambia:
        texto = QStringLiteral("F12 cambiará:");
        for (const CambioPrevisto &c : p->cambios)
            texto += QStringLiteral("\n%1: %2 → %3").arg(c.campo, valorVisible(c.antes), valorVisible(c.despues));
        break;
    case Prevision::SoloSello:
        texto = QStringLiteral("Sin cambios: F12 solo renovará USUARIO y FECHA.");
        break;
    case Prevision::NoSeEnvia:
        texto = QStringLiteral("Sin cambios: no trae nada que actualizar, F12 no lo enviará.");
        break;
    case Prevision::SinFila:
        texto = QStringLiteral("Sin vista previa: no se pudo leer entera su fila del catálogo.");
        break;
    }
    if (!p->aviso.isEmpty())
        texto += QLatin1Char('\n') + p->aviso;
    return texto;
}

QString VistaPrevia::textoCambios(const ReviewListModel &lista) const
{
    QString texto;
    for (int i = 0; i < cantidad() && i < lista.itemCount(); ++i) {
        const QString articulo = celda(CodigoDelItem(lista, i));
        for (const CambioPrevisto &c : m_items[static_cast<std::size_t>(i)].cambios)
            texto += articulo + QLatin1Char('\t') + celda(c.campo) + QLatin1Char('\t') + celda(c.antes)
                     + QLatin1Char('\t') + celda(c.despues) + QStringLiteral("\r\n");
    }
    return texto;
}
