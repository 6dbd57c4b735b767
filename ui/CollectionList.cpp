// The collection list `kolekce`: loading and saving it, selecting its entries.
#include "ui/frmConsole.h"

#include "ui_frmConsole.h"

#include "engine/CollectionFile.h"
#include "platform/MessageBoxes.h"
#include "platform/ShownPictureStore.h"
#include "ui/Texts.h"

#include <QCoreApplication>
#include <QSignalBlocker>

#include <utility>

namespace {

void processEvents()
{
    QCoreApplication::processEvents();
}

// The list shows an entry's text; its bytes, which name the file, ride along.
constexpr int EntryBytesRole = Qt::UserRole;

QListWidgetItem* entryItem(const CollectionEntry& entry)
{
    auto* item = new QListWidgetItem(entry.text);
    item->setData(EntryBytesRole, entry.bytes);
    return item;
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
        // By name: the functor form allocates a slot object inside Qt's header that the
        // static analyzer cannot follow to its release and reports as a leak.
        QMetaObject::invokeMethod(&m_window, "changeNow_Click", Qt::QueuedConnection);
}

void frmConsole::LoadCollection(const QString& path, QListWidget* list)
{
    const ListWork busy(*this);
    if (!collectionFileExists(path)) {
        m_services.messages->show(this, QStringLiteral("Kolekce tapet nebyla nalezena."), QStringLiteral("Chyba"),
                                  MsgStyle::OkCritical);
        return;
    }
    // One entry more than fits is read, so that adding them tells the user of the rest.
    const qsizetype room = std::max<qsizetype>(kMaxCollectionEntries - list->count(), 0);
    CollectionReading reading;
    // The whole file is read before the list changes, so a tick that runs while it
    // is read never sees a half-loaded collection.
    if (!readCollectionFile(path, room + 1, reading, processEvents) || m_ended)
        return;
    addEntriesSorted(list, std::move(reading.entries));
    if (m_ended)
        return;
    // At most one thing to say, the gravest first.
    QString problem;
    if (reading.notACollection)
        problem = QStringLiteral("Soubor %1 není kolekce tapet nebo je poškozený.\r"
                                 "Přidány byly jen tapety přečtené před poškozeným místem.");
    else if (reading.tooLarge)
        problem = QStringLiteral("Soubor %1 je příliš velký pro kolekci tapet.\r"
                                 "Přidány byly jen tapety přečtené z jeho začátku.");
    else if (reading.longLinesSkipped)
        problem = QStringLiteral("Některé řádky souboru %1 jsou delší, než může být cesta k "
                                 "souboru.\rTyto řádky nebyly přidány.");
    if (!problem.isEmpty())
        m_services.messages->show(this, problem.arg(path), QStringLiteral("Chyba"), MsgStyle::OkCritical);
}

bool frmConsole::SaveCollection(const QString& path)
{
    const ListWork busy(*this);
    return writeCollectionFile(path, collectionEntries(), processEvents);
}

void frmConsole::addEntriesSorted(QListWidget* list, CollectionEntries entries)
{
    const ListWork busy(*this);
    const qsizetype room = kMaxCollectionEntries - list->count();
    if (entries.size() > room) {
        entries = entries.mid(0, std::max<qsizetype>(room, 0));
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
        QStringList texts;
        texts.reserve(list->count() + entries.size());
        for (int row = 0; row < list->count(); ++row)
            texts << list->item(row)->text();
        for (const CollectionEntry& entry : entries) {
            const qsizetype at = m_order.insertPosition(texts, entry.text);
            texts.insert(at, entry.text);
            list->insertItem(int(at), entryItem(entry));
        }
    } else {
        // Many: one sort and one rebuild, far cheaper than thousands of insertions.
        struct Entry {
            CollectionEntry entry;
            bool marked = false;
            bool current = false;
        };
        std::vector<Entry> all;
        all.reserve(static_cast<size_t>(list->count() + entries.size()));
        const int currentRow = list->currentRow();
        QStringList texts;
        texts.reserve(list->count() + entries.size());
        for (int i = 0; i < list->count(); ++i) {
            all.push_back({entryAt(list->item(i)), list->item(i)->isSelected(), i == currentRow});
            texts << all.back().entry.text;
        }
        for (CollectionEntry& entry : entries) {
            texts << entry.text;
            all.push_back({std::move(entry), false, false});
        }
        entries.clear();
        const std::vector<qsizetype> order = m_order.sortedOrder(texts, processEvents);
        texts.clear();

        CollectionEntries sorted;
        sorted.reserve(static_cast<qsizetype>(order.size()));
        for (const qsizetype index : order)
            sorted << all[static_cast<size_t>(index)].entry;
        list->setUpdatesEnabled(false);
        list->clear();
        setEntries(list, sorted);
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

CollectionEntry frmConsole::entryAt(const QListWidgetItem* item)
{
    const QVariant bytes = item->data(EntryBytesRole);
    return bytes.isValid() ? CollectionEntry{bytes.toByteArray(), item->text()} : entryFromPath(item->text());
}

CollectionEntries frmConsole::collectionEntries() const
{
    CollectionEntries entries;
    entries.reserve(ui->kolekce->count());
    for (int i = 0; i < ui->kolekce->count(); ++i)
        entries << entryAt(ui->kolekce->item(i));
    return entries;
}

void frmConsole::setEntries(QListWidget* list, const CollectionEntries& entries)
{
    const int first = list->count();
    QStringList texts;
    texts.reserve(entries.size());
    for (const CollectionEntry& entry : entries)
        texts << entry.text;
    // All rows in one insertion: one at a time, each would be announced to the view.
    list->addItems(texts);
    // The bytes are shown nowhere, so no view needs to hear of them; a signal for each
    // row would cost more than the rows themselves.
    const QSignalBlocker quiet(list->model());
    for (int i = 0; i < entries.size(); ++i)
        list->item(first + i)->setData(EntryBytesRole, entries.at(i).bytes);
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

void frmConsole::goOnAfterLastShown()
{
    if (!m_services.shown)
        return;
    const std::optional<ShownPictureStore::Shown> last = m_services.shown->read();
    if (!last || last->collection != ui->kolekcepath->text())
        return;
    for (int row = 0; row < ui->kolekce->count(); ++row) {
        if (entryAt(ui->kolekce->item(row)).bytes == last->entry) {
            // Only made current: its picture is not the one shown next.
            m_selectingFromCode = true;
            ui->kolekce->setCurrentRow(row, QItemSelectionModel::NoUpdate);
            m_selectingFromCode = false;
            return;
        }
    }
}

void frmConsole::rememberShown()
{
    const QListWidgetItem* shown = ui->kolekce->currentItem();
    const QString collection = ui->kolekcepath->text();
    // A new collection not yet saved has no file a later start could load.
    if (m_services.shown && shown && !collection.isEmpty() && collection != Texts::NoNewPath)
        m_services.shown->write({collection, entryAt(shown).bytes});
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
