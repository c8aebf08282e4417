#pragma once

#include "modelos/ColorTexto.h"

#include <QAbstractTableModel>
#include <vector>

// Items of the review list: a text per column (column 0 is the item's own text), a
// check box, and an optional text colour per column. Items appended while no view is
// looking are announced to views in one batch (publish()), so filling 65,534 items costs
// no per-row view work.
class ReviewListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ReviewListModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    void addColumn(const QString &title, int widthTwips);
    int columns() const { return static_cast<int>(m_titles.size()); }
    QString columnTitle(int col) const;
    int columnWidthTwips(int col) const;

    int addItem(const QString &text);
    int itemCount() const { return static_cast<int>(m_items.size()); }
    void clearItems();
    void setSubItem(int item, int sub, const QString &text);
    QString subItem(int item, int sub) const;
    void setChecked(int item, bool on);
    bool isChecked(int item) const;
    void setForeColor(int item, int sub, const ColorTexto &color);
    ColorTexto foreColor(int item, int sub) const;

    // Announces the items appended since the last call to the views.
    void publish();

Q_SIGNALS:
    void itemsPending();

private:
    struct Item {
        std::vector<QString> texts;
        std::vector<ColorTexto> colors;
        bool checked = false;
    };
    bool valid(int item) const { return item >= 0 && item < itemCount(); }
    void changed(int item, int sub, int role);

    std::vector<QString> m_titles;
    std::vector<int> m_widths;
    std::vector<Item> m_items;
    int m_published = 0;
    bool m_pendingSignalled = false;
};
