#include "review/PanelCambios.h"

#include "catalog/VistaPrevia.h"
#include "review/MarcaSinCambios.h"
#include "widgets/ReviewList.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

PanelCambios::PanelCambios(ReviewList &lista, const VistaPrevia &vista, QWidget *parent)
    : QWidget(parent), m_lista(lista), m_vista(vista), m_totales(new QLabel(this)), m_estado(new QLabel(this)),
      m_tabla(new QTableWidget(0, 3, this))
{
    setObjectName(QStringLiteral("PanelCambios"));
    m_totales->setObjectName(QStringLiteral("lbCambios"));
    QFont negrita = m_totales->font();
    negrita.setBold(true);
    m_totales->setFont(negrita);
    m_estado->setObjectName(QStringLiteral("lbCambiosItem"));
    m_tabla->setObjectName(QStringLiteral("lstCambios"));
    m_tabla->setHorizontalHeaderLabels(
        {QStringLiteral("Campo"), QStringLiteral("En el catálogo"), QStringLiteral("Después de F12")});
    m_tabla->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tabla->setSelectionMode(QAbstractItemView::NoSelection);
    m_tabla->verticalHeader()->hide();
    m_tabla->horizontalHeader()->setStretchLastSection(true);
    m_tabla->setColumnWidth(0, 140);
    m_tabla->setColumnWidth(1, 260);
    auto *caja = new QVBoxLayout(this);
    caja->setContentsMargins(0, 0, 0, 0);
    caja->setSpacing(2);
    caja->addWidget(m_totales);
    caja->addWidget(m_estado);
    caja->addWidget(m_tabla, 1);
    lista.setItemDelegate(new MarcaSinCambios(vista, &lista));
    connect(lista.selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &actual) { mostrarItem(actual.row()); });
}

void PanelCambios::actualizar()
{
    m_totales->setText(m_vista.textoTotales());
    mostrarItem(m_lista.currentIndex().row());
    m_lista.viewport()->update();
}

void PanelCambios::mostrarItem(int item)
{
    const PrevisionArticulo *p = m_vista.de(item);
    m_tabla->setRowCount(0);
    if (!p) {
        m_estado->setText(QStringLiteral("Elija un artículo de la lista para ver qué le cambiará F12."));
        return;
    }
    const QString articulo = m_lista.subItem(item, 0);
    const QString explicacion = m_vista.explicacion(item);
    m_estado->setText(articulo + QStringLiteral(": ")
                      + (p->tipo == Prevision::Cambia
                             ? QStringLiteral("F12 cambiará %1 campo(s).").arg(p->cambios.size())
                             : explicacion));
    m_tabla->setRowCount(static_cast<int>(p->cambios.size()));
    for (int fila = 0; fila < p->cambios.size(); ++fila) {
        const CambioPrevisto &c = p->cambios[fila];
        const QString textos[] = {c.campo, VistaPrevia::valorVisible(c.antes), VistaPrevia::valorVisible(c.despues)};
        for (int col = 0; col < 3; ++col)
            m_tabla->setItem(fila, col, new QTableWidgetItem(textos[col]));
    }
}
