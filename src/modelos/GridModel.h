#pragma once

#include "modelos/ColorTexto.h"

#include <QAbstractTableModel>
#include <QHash>
#include <vector>

// Text cells of the grid in one flat vector, row after row. Grid row 0 is the fixed
// header row when fixedRows() is 1: views show it as the horizontal header, and model row
// i is grid row i + fixedRows().
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The font role's value of a bold cell; the views make it a bold font.
    struct Negrita {};

    explicit GridModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    int rows() const { return m_rows; }
    int cols() const { return m_cols; }
    int fixedRows() const { return m_fixedRows; }
    // Resizing keeps the cells that stay inside the grid.
    void resize(int rows, int cols);
    void setFixedRows(int n);

    const QString &text(int row, int col) const;
    void setText(int row, int col, const QString &text);
    // Pastes rows split on CR and cells on TAB into the rectangle; what falls outside is ignored.
    void paste(int top, int left, int bottom, int right, const QString &block);

    ColorTexto foreColor(int row, int col) const;
    bool bold(int row, int col) const;
    void setFormat(int top, int left, int bottom, int right, const ColorTexto *color, const bool *bold);

private:
    struct Format {
        ColorTexto color;
        bool bold = false;
    };
    QVariant cellData(int row, int col, int role) const;
    qint64 key(int row, int col) const { return qint64(row) * 65536 + col; }
    void cellsChanged(int top, int left, int bottom, int right);

    int m_rows = 1;
    int m_cols = 1;
    int m_fixedRows = 1;
    std::vector<QString> m_cells;
    QHash<qint64, Format> m_formats;
};

Q_DECLARE_METATYPE(GridModel::Negrita)
