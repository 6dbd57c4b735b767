// The collection list `kolekce`: loading and saving it, selecting its entries.
#include "ui/frmConsole.h"

#include "ui_frmConsole.h"

#include "engine/CollectionFile.h"
#include "platform/BackgroundWork.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"
#include "platform/ShownPictureStore.h"
#include "ui/Texts.h"

#include <utility>

namespace {

// Fewer added entries than this take their places one by one in a list that has some:
// that keeps the marks and the scroll position and is quick. More are sorted with the
// list beside the window's thread and the list is rebuilt once.
constexpr qsizetype InsertOneByOneBelow = 64;

const QString LimitText = QStringLiteral("Kolekce může obsahovat nejvýše 32767 tapet.\r"
                                         "Další tapety nebyly přidány.");

} // namespace

// What a collection job hands from the window to the worker and back: the file to read
// first, if any, the entries to add, and the list's rows when the job began.
struct frmConsole::SortJob {
    QLocale locale;
    QString file;
    qsizetype room = 0;
    CollectionEntries existing;
    CollectionEntries added;
    CollectionReading reading;
    bool unread = false;
    bool overLimit = false;
    std::vector<qsizetype> order;

    void run()
    {
        if (!file.isEmpty()) {
            // One entry more than fits is read, so that adding them tells the user of the rest.
            if (!readCollectionFile(file, room + 1, reading)) {
                unread = true;
                return;
            }
            added = std::move(reading.entries);
        }
        if (added.size() > room) {
            added.resize(std::max<qsizetype>(room, 0));
            overLimit = true;
        }
        QStringList texts;
        texts.reserve(existing.size() + added.size());
        for (const CollectionEntry& entry : std::as_const(existing))
            texts << entry.text;
        for (const CollectionEntry& entry : std::as_const(added))
            texts << entry.text;
        // A collator of the worker's own: the window's is not to be shared between threads.
        order = CollectionOrder(locale).sortedOrder(texts);
    }
};

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

void frmConsole::setCollectionBusy(bool busy)
{
    // Whatever would change the list's rows, or start another job on them, waits until
    // the job has put its result in; a change asked for meanwhile is made after it.
    busy ? ++m_listWork : --m_listWork;
    for (QWidget* control :
         {static_cast<QWidget*>(ui->Label4), static_cast<QWidget*>(ui->Label5), static_cast<QWidget*>(ui->Label23),
          static_cast<QWidget*>(ui->Label24), static_cast<QWidget*>(ui->Label25), static_cast<QWidget*>(ui->Label26),
          static_cast<QWidget*>(ui->Label30), static_cast<QWidget*>(ui->Label15)})
        control->setEnabled(!busy);
    busy ? setCursor(Qt::BusyCursor) : unsetCursor();
}

void frmConsole::runSortJob(const std::shared_ptr<SortJob>& job, std::function<void()> then)
{
    job->locale = m_services.clock->locale();
    job->room = std::max<qsizetype>(kMaxCollectionEntries - m_collection->count(), 0);
    job->existing = m_collection->entries();
    setCollectionBusy(true);
    m_services.work->run(
        this, [job] { job->run(); },
        [this, job, then = std::move(then)] {
            {
                const ListWork busy(*this);
                setCollectionBusy(false);
                if (m_ended)
                    return;
                if (!job->unread)
                    placeSorted(*job);
                if (job->overLimit)
                    m_services.messages->show(this, LimitText, QStringLiteral("Chyba"), MsgStyle::OkCritical);
            }
            // Outside the list's work: a change asked for meanwhile runs after `then`
            // has made the entry current that it is to apply.
            if (!m_ended)
                then();
        });
}

void frmConsole::placeSorted(const SortJob& job)
{
    QListView* list = ui->kolekce;
    if (job.added.isEmpty())
        return;
    // The marks and the current entry as they are now: the user may have moved them
    // while the job ran, though nothing could change the rows themselves.
    QItemSelectionModel* marks = list->selectionModel();
    const int currentRow = marks->currentIndex().row();
    const auto existing = static_cast<size_t>(job.existing.size());
    std::vector<bool> marked(existing, false);
    for (size_t row = 0; row < existing; ++row)
        marked[row] = marks->isRowSelected(static_cast<int>(row));
    const auto entryOf = [&job, existing](qsizetype index) -> const CollectionEntry& {
        const auto at = static_cast<size_t>(index);
        return at < existing ? job.existing.at(index) : job.added.at(index - job.existing.size());
    };

    CollectionEntries sorted;
    sorted.reserve(static_cast<qsizetype>(job.order.size()));
    for (const qsizetype index : job.order)
        sorted << entryOf(index);
    m_selectingFromCode = true;
    list->setUpdatesEnabled(false);
    m_collection->setEntries(std::move(sorted));
    // The marks go back in one selection: a row at a time, each would be announced.
    QItemSelection kept;
    for (int row = 0; row < static_cast<int>(job.order.size()); ++row) {
        const auto index = static_cast<size_t>(job.order[static_cast<size_t>(row)]);
        if (index >= existing)
            continue;
        if (static_cast<int>(index) == currentRow)
            marks->setCurrentIndex(m_collection->index(row), QItemSelectionModel::NoUpdate);
        if (marked[index])
            kept.select(m_collection->index(row), m_collection->index(row));
    }
    marks->select(kept, QItemSelectionModel::Select);
    list->setUpdatesEnabled(true);
    m_selectingFromCode = false;
}

void frmConsole::LoadCollection(const QString& path, std::function<void()> then)
{
    if (!collectionFileExists(path)) {
        {
            const ListWork busy(*this);
            m_services.messages->show(this, QStringLiteral("Kolekce tapet nebyla nalezena."), QStringLiteral("Chyba"),
                                      MsgStyle::OkCritical);
        }
        if (!m_ended)
            then();
        return;
    }
    auto job = std::make_shared<SortJob>();
    job->file = path;
    runSortJob(job, [this, job, path, then = std::move(then)] {
        warnOfReading(path, job->reading);
        if (!m_ended)
            then();
    });
}

void frmConsole::warnOfReading(const QString& path, const CollectionReading& reading)
{
    const ListWork busy(*this);
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

void frmConsole::SaveCollection(const QString& path, std::function<void(bool saved)> then)
{
    auto saved = std::make_shared<bool>(false);
    setCollectionBusy(true);
    m_services.work->run(
        this, [path, entries = m_collection->entries(), saved] { *saved = writeCollectionFile(path, entries); },
        [this, saved, then = std::move(then)] {
            {
                // Its end lets a change asked for meanwhile run.
                const ListWork busy(*this);
                setCollectionBusy(false);
            }
            if (!m_ended)
                then(*saved);
        });
}

void frmConsole::addEntries(CollectionEntries entries, std::function<void()> then)
{
    if (entries.size() >= InsertOneByOneBelow || m_collection->count() == 0) {
        auto job = std::make_shared<SortJob>();
        job->added = std::move(entries);
        runSortJob(job, std::move(then));
        return;
    }
    const qsizetype room = kMaxCollectionEntries - m_collection->count();
    const bool overLimit = entries.size() > room;
    if (overLimit)
        entries.resize(std::max<qsizetype>(room, 0));
    m_selectingFromCode = true;
    QStringList texts;
    texts.reserve(m_collection->count() + entries.size());
    for (const CollectionEntry& entry : m_collection->entries())
        texts << entry.text;
    for (CollectionEntry& entry : entries) {
        const qsizetype at = m_order.insertPosition(texts, entry.text);
        texts.insert(at, entry.text);
        m_collection->insert(int(at), std::move(entry));
    }
    m_selectingFromCode = false;
    if (overLimit) {
        const ListWork busy(*this);
        m_services.messages->show(this, LimitText, QStringLiteral("Chyba"), MsgStyle::OkCritical);
    }
    if (!m_ended)
        then();
}

void frmConsole::loadChosenCollection(const QString& path, std::function<void()> then)
{
    LoadCollection(path, [this, path, then = std::move(then)] {
        m_collection->setPath(path);
        setCountLabel();
        selectEntry(0);
        then();
    });
}

void frmConsole::clearCollection()
{
    m_selectingFromCode = true;
    m_collection->clear();
    m_selectingFromCode = false;
}

void frmConsole::selectEntry(int index)
{
    if (index < 0 || index >= m_collection->count())
        return;
    m_selectingFromCode = true;
    ui->kolekce->selectionModel()->setCurrentIndex(m_collection->index(index), QItemSelectionModel::Select);
    m_selectingFromCode = false;
    kolekce_Click();
}

void frmConsole::goOnAfterLastShown()
{
    if (!m_services.shown)
        return;
    const std::optional<ShownPictureStore::Shown> last = m_services.shown->read();
    if (!last || last->collection != m_collection->path())
        return;
    for (int row = 0; row < m_collection->count(); ++row) {
        if (m_collection->at(row).bytes == last->entry) {
            // Only made current: its picture is not the one shown next.
            m_selectingFromCode = true;
            ui->kolekce->selectionModel()->setCurrentIndex(m_collection->index(row), QItemSelectionModel::NoUpdate);
            m_selectingFromCode = false;
            return;
        }
    }
}

void frmConsole::rememberShown()
{
    const int shown = currentRow();
    const QString collection = m_collection->path();
    // A new collection not yet saved has no file a later start could load.
    if (!m_services.shown || shown < 0 || collection.isEmpty() || collection == Texts::NoNewPath)
        return;
    // Replaced whole and forced to disk, beside the window.
    m_services.work->run(
        this,
        [store = m_services.shown, record = ShownPictureStore::Shown{collection, m_collection->at(shown).bytes}] {
            store->write(record);
        },
        [] {});
}

void frmConsole::setCountLabel()
{
    ui->pocetObr->setText(Texts::CountPrefix + QString::number(m_collection->count()));
}

void frmConsole::ListBoxSelectRange(QAbstractItemView* list, bool select, int first, int& last)
{
    const int count = list->model()->rowCount();
    if (last < 0)
        last = static_cast<qint16>(count - 1);
    const int lastRow = std::min(last, count - 1);
    const int firstRow = std::max(first, 0);
    if (firstRow > lastRow)
        return;
    // Marks only: the current entry stays and no click handling runs.
    const QItemSelection range(list->model()->index(firstRow, 0), list->model()->index(lastRow, 0));
    list->selectionModel()->select(range, select ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
}

int frmConsole::currentRow() const
{
    return ui->kolekce->selectionModel()->currentIndex().row();
}
