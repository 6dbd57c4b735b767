#include "core/CollectionModel.h"

int CollectionModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant CollectionModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole
        || !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    return m_entries.at(index.row()).text;
}

bool CollectionModel::removeRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || row < 0 || count <= 0 || row + count > this->count())
        return false;
    beginRemoveRows(parent, row, row + count - 1);
    m_entries.remove(row, count);
    endRemoveRows();
    return true;
}

void CollectionModel::setEntries(CollectionEntries entries)
{
    beginResetModel();
    m_entries = std::move(entries);
    endResetModel();
}

void CollectionModel::insert(int row, CollectionEntry entry)
{
    beginInsertRows(QModelIndex(), row, row);
    m_entries.insert(row, std::move(entry));
    endInsertRows();
}
