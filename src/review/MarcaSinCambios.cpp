#include "review/MarcaSinCambios.h"

#include "catalog/VistaPrevia.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QToolTip>

MarcaSinCambios::MarcaSinCambios(const VistaPrevia &vista, QObject *parent)
    : QStyledItemDelegate(parent), m_vista(vista)
{
}

const QColor &MarcaSinCambios::fondo()
{
    static const QColor gris(0xDC, 0xDC, 0xDC);
    return gris;
}

bool MarcaSinCambios::sinCambios(int item) const
{
    const PrevisionArticulo *p = m_vista.de(item);
    return p && (p->tipo == Prevision::SoloSello || p->tipo == Prevision::NoSeEnvia);
}

void MarcaSinCambios::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (sinCambios(index.row()))
        option->backgroundBrush = fondo();
}

bool MarcaSinCambios::helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                                const QModelIndex &index)
{
    if (event->type() != QEvent::ToolTip || !index.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const QString texto = m_vista.explicacion(index.row());
    if (texto.isEmpty())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    QToolTip::showText(event->globalPos(), texto, view);
    return true;
}
