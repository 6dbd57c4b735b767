// The collection list `kolekce`: loading and saving it, selecting its entries.
#include "ui/frmConsole.h"

#include "ui_frmConsole.h"

#include "engine/CollectionFile.h"
#include "platform/MessageBoxes.h"
#include "ui/Texts.h"

#include <QCoreApplication>

#include <utility>

namespace {

// Entry counts and indexes are 16-bit numbers in stored collections' world.
constexpr int MaxEntries = 32767;

void processEvents()
{
    QCoreApplication::processEvents();
}

} // namespace

frmConsole::ListWork::ListWork(frmConsole& window)
    : m_window(window)
{
    ++m_window.m_listWork;
}

frmConsole::ListWork::~ListWork()
{
    if (--m_window.m_listWork == 0 && std::exchange(m_window.m_changeWaiting, false))
        QMetaObject::invokeMethod(&m_window, &frmConsole::changeNow_Click, Qt::QueuedConnection);
}

void frmConsole::LoadCollection(const QString& path, QListWidget* list)
{
    const ListWork busy(*this);
    if (!collectionFileExists(path)) {
        m_services.messages->show(this, QStringLiteral("Kolekce tapet nebyla nalezena."), QStringLiteral("Chyba"),
                                  MsgStyle::OkCritical);
        return;
    }
    QStringList entries;
    // The whole file is read before the list changes, so a tick that runs while it
    // is read never sees a half-loaded collection.
    if (!readCollectionFile(path, entries, processEvents) || m_ended)
        return;
    addEntriesSorted(list, entries);
}

bool frmConsole::SaveCollection(const QString& path)
{
    const ListWork busy(*this);
    return writeCollectionFile(path, collectionEntries(), processEvents);
}

void frmConsole::addEntriesSorted(QListWidget* list, QStringList entries)
{
    const ListWork busy(*this);
    const int room = MaxEntries - list->count();
    if (entries.size() > room) {
        entries = entries.mid(0, std::max(room, 0));
        m_services.messages->show(this,
                                  QStringLiteral("Kolekce může obsahovat nejvýše 32767 tapet.\r"
                                                 "Další tapety nebyly přidány."),
                                  QStringLiteral("Chyba"), MsgStyle::OkCritical);
    }
    if (entries.isEmpty())
        return;

    m_selectingFromCode = true;
    if (entries.size() < 64 && list->count() > 0) {
        // A few additions: each takes its place without disturbing marks or the current entry.
        for (const QString& entry : entries) {
            int low = 0;
            int high = list->count();
            while (low < high) {
                const int middle = (low + high) / 2;
                if (m_order.lessThan(entry, list->item(middle)->text()))
                    high = middle;
                else
                    low = middle + 1;
            }
            list->insertItem(low, entry);
        }
    } else {
        // Many: one sort and one rebuild, far cheaper than thousands of insertions.
        struct Entry {
            QString text;
            bool marked = false;
            bool current = false;
        };
        std::vector<Entry> all;
        all.reserve(static_cast<size_t>(list->count() + entries.size()));
        const int currentRow = list->currentRow();
        for (int i = 0; i < list->count(); ++i)
            all.push_back({list->item(i)->text(), list->item(i)->isSelected(), i == currentRow});
        for (QString& entry : entries)
            all.push_back({std::move(entry), false, false});
        QStringList texts;
        texts.reserve(static_cast<qsizetype>(all.size()));
        for (const Entry& entry : all)
            texts << entry.text;
        const std::vector<qsizetype> order = m_order.sortedOrder(texts, processEvents);

        list->setUpdatesEnabled(false);
        list->clear();
        QStringList sorted;
        sorted.reserve(texts.size());
        for (const qsizetype index : order)
            sorted << texts.at(index);
        list->addItems(sorted);
        for (int row = 0; row < static_cast<int>(order.size()); ++row) {
            const Entry& entry = all[static_cast<size_t>(order[static_cast<size_t>(row)])];
            if (entry.current)
                list->setCurrentRow(row, QItemSelectionModel::NoUpdate);
            if (entry.marked)
                list->item(row)->setSelected(true);
        }
        list->setUpdatesEnabled(true);
    }
    m_selectingFromCode = false;
}

bool frmConsole::loadChosenCollection(const QString& path)
{
    LoadCollection(path, ui->kolekce);
    if (m_ended)
        return false;
    ui->kolekcepath->setText(path);
    setCountLabel();
    selectEntry(0);
    return true;
}

QStringList frmConsole::collectionEntries() const
{
    QStringList entries;
    entries.reserve(ui->kolekce->count());
    for (int i = 0; i < ui->kolekce->count(); ++i)
        entries << ui->kolekce->item(i)->text();
    return entries;
}

void frmConsole::clearCollection()
{
    m_selectingFromCode = true;
    ui->kolekce->clear();
    m_selectingFromCode = false;
}

void frmConsole::selectEntry(int index)
{
    if (index < 0 || index >= ui->kolekce->count())
        return;
    m_selectingFromCode = true;
    ui->kolekce->setCurrentRow(index, QItemSelectionModel::Select);
    m_selectingFromCode = false;
    kolekce_Click();
}

void frmConsole::setCountLabel()
{
    ui->pocetObr->setText(Texts::CountPrefix + QString::number(ui->kolekce->count()));
}

void frmConsole::ListBoxSelectRange(QListWidget* list, bool select, int first, int& last)
{
    if (last < 0)
        last = static_cast<qint16>(list->count() - 1);
    const int lastRow = std::min(last, list->count() - 1);
    const int firstRow = std::max(first, 0);
    if (firstRow > lastRow)
        return;
    // Marks only: the current entry stays and no click handling runs.
    const QItemSelection range(list->model()->index(firstRow, 0), list->model()->index(lastRow, 0));
    list->selectionModel()->select(range, select ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
}
