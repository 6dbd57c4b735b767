#pragma once

#include "engine/CollectionFile.h"

#include <QAbstractListModel>

// The collection the window shows in `kolekce` and the editor works on: its file, its
// entries kept as the bytes they were read with, so a save writes back exactly what was
// read, and whether it holds edits not yet saved.
class CollectionModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

    int count() const { return static_cast<int>(m_entries.size()); }
    const CollectionEntries& entries() const { return m_entries; }
    const CollectionEntry& at(int row) const { return m_entries.at(row); }
    // Every entry at once: one reset of the views rather than a signal per row.
    void setEntries(CollectionEntries entries);
    void insert(int row, CollectionEntry entry);
    void clear() { setEntries({}); }

    // The file the entries were read from or are to be saved to, as the user chose it.
    QString path() const { return m_path; }
    void setPath(const QString& path) { m_path = path; }
    bool edited() const { return m_edited; }
    void setEdited(bool edited) { m_edited = edited; }

private:
    CollectionEntries m_entries;
    QString m_path;
    bool m_edited = false;
};
