#include "modelos/GridModel.h"

GridModel::GridModel(QObject *parent) : QAbstractTableModel(parent), m_cells(1) {}

int GridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows - m_fixedRows;
}

int GridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_cols;
}

QVariant GridModel::cellData(int row, int col, int role) const
{
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return text(row, col);
    case Qt::ForegroundRole: {
        const ColorTexto c = foreColor(row, col);
        return c.isValid() ? QVariant::fromValue(c) : QVariant();
    }
    case Qt::FontRole:
        return bold(row, col) ? QVariant::fromValue(Negrita{}) : QVariant();
    default:
        return {};
    }
}

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    return cellData(index.row() + m_fixedRows, index.column(), role);
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical)
        return role == Qt::DisplayRole ? QVariant(section + m_fixedRows) : QVariant();
    // With the fixed header row, the column titles are the cells of row 0.
    if (section < 0 || section >= m_cols || m_fixedRows == 0)
        return role == Qt::DisplayRole ? QVariant(QString()) : QVariant();
    return cellData(0, section, role);
}

void GridModel::resize(int rows, int cols)
{
    if (rows == m_rows && cols == m_cols)
        return;
    beginResetModel();
    if (cols == m_cols) {
        m_cells.resize(std::size_t(rows) * cols);
    } else {
        std::vector<QString> cells(std::size_t(rows) * cols);
        const int keepRows = qMin(rows, m_rows);
        const int keepCols = qMin(cols, m_cols);
        for (int r = 0; r < keepRows; ++r)
            for (int c = 0; c < keepCols; ++c)
                cells[std::size_t(r) * cols + c] = std::move(m_cells[std::size_t(r) * m_cols + c]);
        m_cells.swap(cells);
    }
    for (auto it = m_formats.begin(); it != m_formats.end();) {
        const int r = int(it.key() / 65536), c = int(it.key() % 65536);
        it = (r >= rows || c >= cols) ? m_formats.erase(it) : std::next(it);
    }
    m_rows = rows;
    m_cols = cols;
    endResetModel();
}

void GridModel::setFixedRows(int n)
{
    if (n == m_fixedRows)
        return;
    beginResetModel();
    m_fixedRows = n;
    endResetModel();
}

const QString &GridModel::text(int row, int col) const
{
    static const QString none;
    if (row < 0 || col < 0 || row >= m_rows || col >= m_cols)
        return none;
    return m_cells[std::size_t(row) * m_cols + col];
}

void GridModel::setText(int row, int col, const QString &text)
{
    if (row < 0 || col < 0 || row >= m_rows || col >= m_cols)
        return;
    m_cells[std::size_t(row) * m_cols + col] = text;
    cellsChanged(row, col, row, col);
}

void GridModel::paste(int top, int left, int bottom, int right, const QString &block)
{
    bottom = qMin(bottom, m_rows - 1);
    right = qMin(right, m_cols - 1);
    // One reset is far cheaper for views than a change signal over a whole loaded sheet;
    // views may still read the old cells until it has begun.
    beginResetModel();
    int row = top;
    qsizetype start = 0;
    const qsizetype size = block.size();
    while (row <= bottom && start <= size) {
        qsizetype end = block.indexOf(QLatin1Char('\r'), start);
        if (end < 0)
            end = size;
        int col = left;
        qsizetype cellStart = start;
        while (col <= right && cellStart <= end) {
            qsizetype cellEnd = block.indexOf(QLatin1Char('\t'), cellStart);
            if (cellEnd < 0 || cellEnd > end)
                cellEnd = end;
            m_cells[std::size_t(row) * m_cols + col] = block.mid(cellStart, cellEnd - cellStart);
            cellStart = cellEnd + 1;
            ++col;
        }
        start = end + 1;
        ++row;
    }
    endResetModel();
}

ColorTexto GridModel::foreColor(int row, int col) const
{
    const auto it = m_formats.constFind(key(row, col));
    return it == m_formats.constEnd() ? ColorTexto() : it->color;
}

bool GridModel::bold(int row, int col) const
{
    const auto it = m_formats.constFind(key(row, col));
    return it != m_formats.constEnd() && it->bold;
}

void GridModel::setFormat(int top, int left, int bottom, int right, const ColorTexto *color, const bool *boldOn)
{
    for (int r = top; r <= bottom && r < m_rows; ++r)
        for (int c = left; c <= right && c < m_cols; ++c) {
            Format &f = m_formats[key(r, c)];
            if (color)
                f.color = *color;
            if (boldOn)
                f.bold = *boldOn;
        }
    cellsChanged(top, left, bottom, right);
}

void GridModel::cellsChanged(int top, int left, int bottom, int right)
{
    if (top < m_fixedRows)
        Q_EMIT headerDataChanged(Qt::Horizontal, left, right);
    const int first = qMax(top, m_fixedRows) - m_fixedRows;
    const int last = qMin(bottom, m_rows - 1) - m_fixedRows;
    if (first <= last)
        Q_EMIT dataChanged(index(first, left), index(last, qMin(right, m_cols - 1)));
}
