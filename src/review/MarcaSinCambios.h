#pragma once

#include <QStyledItemDelegate>

class VistaPrevia;

// Paints the items of the review list whose update would change nothing on a grey ground,
// and gives every item the foresight of F12 as its tooltip. Texts and colours stay the list's.
class MarcaSinCambios : public QStyledItemDelegate {
public:
    MarcaSinCambios(const VistaPrevia &vista, QObject *parent);

    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;

    static const QColor &fondo();

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    bool sinCambios(int item) const;

    const VistaPrevia &m_vista;
};
