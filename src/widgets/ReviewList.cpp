#include "widgets/ReviewList.h"

#include "modelos/ReviewListModel.h"
#include "widgets/ConversionesDeModelos.h"
#include "widgets/Twips.h"

#include <QHeaderView>

ReviewList::ReviewList(QWidget *parent) : QTableView(parent), m_model(new ReviewListModel(this))
{
    ConversionesDeModelos::registrar();
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setAlternatingRowColors(true);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    // Appended items reach the view once control is back in the event loop (or when shown).
    connect(m_model, &ReviewListModel::itemsPending, this,
            [this] { QMetaObject::invokeMethod(m_model, &ReviewListModel::publish, Qt::QueuedConnection); });
}

void ReviewList::addColumn(const QString &title, int widthTwips)
{
    m_model->addColumn(title, widthTwips);
    setColumnWidth(m_model->columns() - 1, Twips::toPixelsX(widthTwips, this));
}

int ReviewList::columnCount() const
{
    return m_model->columns();
}

QString ReviewList::columnTitle(int col) const
{
    return m_model->columnTitle(col);
}

int ReviewList::columnWidth(int col) const
{
    return m_model->columnWidthTwips(col);
}

int ReviewList::addItem(const QString &text)
{
    return m_model->addItem(text);
}

int ReviewList::itemCount() const
{
    return m_model->itemCount();
}

void ReviewList::clearItems()
{
    m_model->clearItems();
}

void ReviewList::setSubItem(int item, int sub, const QString &text)
{
    m_model->setSubItem(item, sub, text);
}

QString ReviewList::subItem(int item, int sub) const
{
    return m_model->subItem(item, sub);
}

void ReviewList::setChecked(int item, bool on)
{
    m_model->setChecked(item, on);
}

bool ReviewList::isChecked(int item) const
{
    return m_model->isChecked(item);
}

void ReviewList::setForeColor(int item, int sub, const QColor &color)
{
    m_model->setForeColor(item, sub, ConversionesDeModelos::aColorTexto(color));
}

QColor ReviewList::foreColor(int item, int sub) const
{
    return ConversionesDeModelos::aQColor(m_model->foreColor(item, sub));
}

void ReviewList::showEvent(QShowEvent *event)
{
    m_model->publish();
    QTableView::showEvent(event);
}
