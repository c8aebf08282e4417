#include "modelos/ReviewListModel.h"

ReviewListModel::ReviewListModel(QObject *parent) : QAbstractTableModel(parent) {}

int ReviewListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_published;
}

int ReviewListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : columns();
}

QVariant ReviewListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_published)
        return {};
    const Item &item = m_items[index.row()];
    const int col = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return col < int(item.texts.size()) ? item.texts[col] : QString();
    case Qt::CheckStateRole:
        if (col == 0)
            return item.checked ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::ForegroundRole:
        if (col < int(item.colors.size()) && item.colors[col].isValid())
            return QVariant::fromValue(item.colors[col]);
        return {};
    default:
        return {};
    }
}

bool ReviewListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.column() != 0 || role != Qt::CheckStateRole || index.row() >= m_published)
        return false;
    setChecked(index.row(), value.toInt() == Qt::Checked);
    return true;
}

QVariant ReviewListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < columns())
        return m_titles[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags ReviewListModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == 0)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

void ReviewListModel::addColumn(const QString &title, int widthTwips)
{
    beginInsertColumns(QModelIndex(), columns(), columns());
    m_titles.push_back(title);
    m_widths.push_back(widthTwips);
    endInsertColumns();
}

QString ReviewListModel::columnTitle(int col) const
{
    return col >= 0 && col < columns() ? m_titles[col] : QString();
}

int ReviewListModel::columnWidthTwips(int col) const
{
    return col >= 0 && col < columns() ? m_widths[col] : 0;
}

int ReviewListModel::addItem(const QString &text)
{
    Item item;
    item.texts.push_back(text);
    m_items.push_back(std::move(item));
    if (!m_pendingSignalled) {
        m_pendingSignalled = true;
        Q_EMIT itemsPending();
    }
    return itemCount() - 1;
}

void ReviewListModel::publish()
{
    m_pendingSignalled = false;
    if (m_published == itemCount())
        return;
    beginInsertRows(QModelIndex(), m_published, itemCount() - 1);
    m_published = itemCount();
    endInsertRows();
}

void ReviewListModel::clearItems()
{
    beginResetModel();
    m_items.clear();
    m_published = 0;
    m_pendingSignalled = false;
    endResetModel();
}

void ReviewListModel::setSubItem(int item, int sub, const QString &text)
{
    if (!valid(item) || sub < 0)
        return;
    auto &texts = m_items[item].texts;
    if (sub >= int(texts.size()))
        texts.resize(sub + 1);
    texts[sub] = text;
    changed(item, sub, Qt::DisplayRole);
}

QString ReviewListModel::subItem(int item, int sub) const
{
    if (!valid(item) || sub < 0)
        return {};
    const auto &texts = m_items[item].texts;
    return sub < int(texts.size()) ? texts[sub] : QString();
}

void ReviewListModel::setChecked(int item, bool on)
{
    if (!valid(item) || m_items[item].checked == on)
        return;
    m_items[item].checked = on;
    changed(item, 0, Qt::CheckStateRole);
}

bool ReviewListModel::isChecked(int item) const
{
    return valid(item) && m_items[item].checked;
}

void ReviewListModel::setForeColor(int item, int sub, const ColorTexto &color)
{
    if (!valid(item) || sub < 0)
        return;
    auto &colors = m_items[item].colors;
    if (sub >= int(colors.size()))
        colors.resize(sub + 1);
    colors[sub] = color;
    changed(item, sub, Qt::ForegroundRole);
}

ColorTexto ReviewListModel::foreColor(int item, int sub) const
{
    if (!valid(item) || sub < 0)
        return {};
    const auto &colors = m_items[item].colors;
    return sub < int(colors.size()) ? colors[sub] : ColorTexto();
}

void ReviewListModel::changed(int item, int sub, int role)
{
    if (item >= m_published || sub >= columns())
        return;
    const QModelIndex i = index(item, sub);
    Q_EMIT dataChanged(i, i, {role});
}
