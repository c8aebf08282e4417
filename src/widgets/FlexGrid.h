#pragma once

#include <QTableView>

class GridModel;

// The text grid of the main window: rows and columns of text, row 0 the fixed header row
// (shown as the view's column header), a current cell, a selection that pastes a
// TAB/CR-separated block and formats its cells. Built for 65,534 rows.
class FlexGrid : public QTableView {
    Q_OBJECT
public:
    explicit FlexGrid(QWidget *parent = nullptr);

    int rows() const;
    // Refuses fewer rows than the fixed rows (and fewer than one): AppError 30009.
    void setRows(int n);
    int cols() const;
    // Refuses fewer than one column: AppError 30010.
    void setCols(int n);
    int fixedRows() const;
    void setFixedRows(int n);

    // Current cell; the operator's cursor moves it too.
    int row() const { return m_row; }
    void setRow(int r);
    int col() const { return m_col; }
    void setCol(int c);
    // The selection runs from the current cell to (rowSel, colSel).
    void setRowSel(int r);
    void setColSel(int c);
    int rowSel() const { return m_rowSel; }
    int colSel() const { return m_colSel; }

    void setClip(const QString &block);
    void setCellForeColor(const QColor &color);
    void setCellFontBold(bool bold);
    QColor cellForeColor(int r, int c) const;
    bool cellFontBold(int r, int c) const;

    // Widths in twips.
    void setColWidth(int col, int twips);
    int colWidth(int col) const;

    QString textMatrix(int r, int c) const;
    void setTextMatrix(int r, int c, const QString &text);

    GridModel *gridModel() const { return m_model; }

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    void selectionBounds(int &top, int &left, int &bottom, int &right) const;
    void syncCursor();
    void applyWidths();

    GridModel *m_model;
    int m_row = 0;
    int m_col = 0;
    int m_rowSel = 0;
    int m_colSel = 0;
    bool m_syncing = false;
    QHash<int, int> m_widthsTwips;
};
