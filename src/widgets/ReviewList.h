#pragma once

#include <QTableView>

class ReviewListModel;

// The review list: report-style rows with a check box on each item, column titles and
// widths in twips, and a text colour per item and column. Built for 65,534 items.
class ReviewList : public QTableView {
    Q_OBJECT
public:
    explicit ReviewList(QWidget *parent = nullptr);

    void addColumn(const QString &title, int widthTwips);
    int columnCount() const;
    QString columnTitle(int col) const;
    int columnWidth(int col) const; // twips

    // Returns the new item's index (from 0); the item starts unchecked.
    int addItem(const QString &text);
    int itemCount() const;
    void clearItems();
    // sub 0 is the item's own text.
    void setSubItem(int item, int sub, const QString &text);
    QString subItem(int item, int sub) const;
    void setChecked(int item, bool on);
    bool isChecked(int item) const;
    void setForeColor(int item, int sub, const QColor &color);
    QColor foreColor(int item, int sub) const;

    ReviewListModel *listModel() const { return m_model; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    ReviewListModel *m_model;
};
