#include "widgets/FlexGrid.h"

#include "core/AppError.h"
#include "core/ErrorNumbers.h"
#include "modelos/GridModel.h"
#include "widgets/ConversionesDeModelos.h"
#include "widgets/Twips.h"

#include <QHeaderView>

namespace {
using ErrorNumbers::kInvalidCol;
using ErrorNumbers::kInvalidRow;
const QString kSource = QStringLiteral("FRAM2_Grid");
} // namespace

FlexGrid::FlexGrid(QWidget *parent) : QTableView(parent), m_model(new GridModel(this))
{
    ConversionesDeModelos::registrar();
    setModel(m_model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setWordWrap(false);
    // Fixed row heights keep a 65,534-row sheet cheap to lay out.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        applyWidths();
        syncCursor();
    });
}

int FlexGrid::rows() const
{
    return m_model->rows();
}

void FlexGrid::setRows(int n)
{
    if (n < qMax(1, m_model->fixedRows()))
        throw AppError(kInvalidRow, kSource, QStringLiteral("Valor de fila no válido"));
    m_model->resize(n, m_model->cols());
    m_row = qMin(m_row, n - 1);
    m_rowSel = qMin(m_rowSel, n - 1);
}

int FlexGrid::cols() const
{
    return m_model->cols();
}

void FlexGrid::setCols(int n)
{
    if (n < 1)
        throw AppError(kInvalidCol, kSource, QStringLiteral("Valor de columna no válido"));
    m_model->resize(m_model->rows(), n);
    m_col = qMin(m_col, n - 1);
    m_colSel = qMin(m_colSel, n - 1);
}

int FlexGrid::fixedRows() const
{
    return m_model->fixedRows();
}

void FlexGrid::setFixedRows(int n)
{
    if (n < 0 || n > 1 || n >= m_model->rows() + 1)
        throw AppError(kInvalidRow, kSource, QStringLiteral("Valor de fila no válido"));
    m_model->setFixedRows(n);
}

void FlexGrid::setRow(int r)
{
    if (r < 0 || r >= rows())
        throw AppError(kInvalidRow, kSource, QStringLiteral("Valor de fila no válido"));
    m_row = m_rowSel = r;
    syncCursor();
}

void FlexGrid::setCol(int c)
{
    if (c < 0 || c >= cols())
        throw AppError(kInvalidCol, kSource, QStringLiteral("Valor de columna no válido"));
    m_col = m_colSel = c;
    syncCursor();
}

void FlexGrid::setRowSel(int r)
{
    if (r < 0 || r >= rows())
        throw AppError(kInvalidRow, kSource, QStringLiteral("Valor de fila no válido"));
    m_rowSel = r;
}

void FlexGrid::setColSel(int c)
{
    if (c < 0 || c >= cols())
        throw AppError(kInvalidCol, kSource, QStringLiteral("Valor de columna no válido"));
    m_colSel = c;
}

void FlexGrid::selectionBounds(int &top, int &left, int &bottom, int &right) const
{
    top = qMin(m_row, m_rowSel);
    bottom = qMax(m_row, m_rowSel);
    left = qMin(m_col, m_colSel);
    right = qMax(m_col, m_colSel);
}

void FlexGrid::setClip(const QString &block)
{
    int top, left, bottom, right;
    selectionBounds(top, left, bottom, right);
    m_model->paste(top, left, bottom, right, block);
}

void FlexGrid::setCellForeColor(const QColor &qcolor)
{
    int top, left, bottom, right;
    selectionBounds(top, left, bottom, right);
    const ColorTexto color = ConversionesDeModelos::aColorTexto(qcolor);
    m_model->setFormat(top, left, bottom, right, &color, nullptr);
}

void FlexGrid::setCellFontBold(bool bold)
{
    int top, left, bottom, right;
    selectionBounds(top, left, bottom, right);
    m_model->setFormat(top, left, bottom, right, nullptr, &bold);
}

QColor FlexGrid::cellForeColor(int r, int c) const
{
    return ConversionesDeModelos::aQColor(m_model->foreColor(r, c));
}

bool FlexGrid::cellFontBold(int r, int c) const
{
    return m_model->bold(r, c);
}

void FlexGrid::setColWidth(int col, int twips)
{
    if (col < 0 || col >= cols())
        throw AppError(kInvalidCol, kSource, QStringLiteral("Valor de columna no válido"));
    m_widthsTwips.insert(col, twips);
    setColumnWidth(col, Twips::toPixelsX(twips, this));
}

int FlexGrid::colWidth(int col) const
{
    return m_widthsTwips.value(col, Twips::fromPixelsX(columnWidth(col), this));
}

QString FlexGrid::textMatrix(int r, int c) const
{
    if (r < 0 || r >= rows())
        throw AppError(kInvalidRow, kSource, QStringLiteral("Valor de fila no válido"));
    if (c < 0 || c >= cols())
        throw AppError(kInvalidCol, kSource, QStringLiteral("Valor de columna no válido"));
    return m_model->text(r, c);
}

void FlexGrid::setTextMatrix(int r, int c, const QString &text)
{
    if (r < 0 || r >= rows())
        throw AppError(kInvalidRow, kSource, QStringLiteral("Valor de fila no válido"));
    if (c < 0 || c >= cols())
        throw AppError(kInvalidCol, kSource, QStringLiteral("Valor de columna no válido"));
    m_model->setText(r, c, text);
}

void FlexGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (m_syncing || !current.isValid())
        return;
    m_row = m_rowSel = current.row() + fixedRows();
    m_col = m_colSel = current.column();
}

void FlexGrid::syncCursor()
{
    // The view's cursor only lives on data rows; on the header row it just marks the column.
    const int viewRow = qMax(m_row - fixedRows(), 0);
    if (m_model->rowCount() == 0 || m_col >= cols())
        return;
    m_syncing = true;
    setCurrentIndex(m_model->index(qMin(viewRow, m_model->rowCount() - 1), m_col));
    m_syncing = false;
}

void FlexGrid::applyWidths()
{
    for (auto it = m_widthsTwips.begin(); it != m_widthsTwips.end();) {
        if (it.key() >= cols()) {
            it = m_widthsTwips.erase(it);
            continue;
        }
        setColumnWidth(it.key(), Twips::toPixelsX(it.value(), this));
        ++it;
    }
}
