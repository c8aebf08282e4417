#pragma once

#include <QWidget>

class QLabel;
class QTableWidget;
class ReviewList;
class VistaPrevia;

// Beside the review list: the totals of what F12 will change and, for the item the operator
// stands on, each column it will change, before and after. Existing articles that F12 would
// leave as they are (but for USUARIO and FECHA) show on a grey ground, with a tooltip.
class PanelCambios : public QWidget {
public:
    PanelCambios(ReviewList &lista, const VistaPrevia &vista, QWidget *parent);

    // After F11: the totals and the current item again.
    void actualizar();

    QLabel *lbCambios() const { return m_totales; }
    QTableWidget *lstCambios() const { return m_tabla; }

private:
    void mostrarItem(int item);

    ReviewList &m_lista;
    const VistaPrevia &m_vista;
    QLabel *m_totales;
    QLabel *m_estado;
    QTableWidget *m_tabla;
};
