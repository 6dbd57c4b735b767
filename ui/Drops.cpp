// Files and folders dropped from a file manager: into the editor, and a collection onto
// the start page.
#include "ui/frmConsole.h"

#include "ui_frmConsole.h"

#include "engine/PictureIO.h"
#include "platform/BackgroundWork.h"

#include <QDirIterator>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QProgressDialog>
#include <QTimer>
#include <QUrl>

#include <limits>
#include <memory>
#include <stop_token>

namespace {

QStringList localPaths(const QMimeData* data)
{
    QStringList paths;
    if (!data)
        return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    return paths;
}

// A search through a large tree shows itself only once it takes a noticeable while.
constexpr int ShowSearchAfterMs = 400;

} // namespace

frmConsole::DropTarget frmConsole::dropTarget(const QStringList& paths) const
{
    if (paths.isEmpty() || m_ended || m_listWork > 0)
        return DropTarget::None;
    if (!ui->editBox->isHidden())
        return DropTarget::Editor;
    const bool startPage = ui->nastaveni->isHidden() && ui->about->isHidden();
    const QFileInfo file(paths.constFirst());
    if (startPage && paths.size() == 1 && file.isFile()
        && file.suffix().compare(QLatin1String("tkl"), Qt::CaseInsensitive) == 0)
        return DropTarget::StartPage;
    return DropTarget::None;
}

void frmConsole::dragEnterEvent(QDragEnterEvent* event)
{
    if (dropTarget(localPaths(event->mimeData())) != DropTarget::None)
        event->acceptProposedAction();
}

void frmConsole::dragMoveEvent(QDragMoveEvent* event)
{
    if (dropTarget(localPaths(event->mimeData())) != DropTarget::None)
        event->acceptProposedAction();
}

void frmConsole::dropEvent(QDropEvent* event)
{
    const QStringList paths = localPaths(event->mimeData());
    if (dropTarget(paths) == DropTarget::None)
        return;
    event->acceptProposedAction();
    Form_OLEDragDrop(paths);
}

void frmConsole::Form_OLEDragDrop(const QStringList& paths)
{
    switch (dropTarget(paths)) {
    case DropTarget::Editor:
        addDropped(paths);
        break;
    case DropTarget::StartPage:
        // As "otevřít a upravit" with this file chosen.
        if (m_collection->count() > 0)
            clearCollection();
        openForEditing(paths.constFirst());
        break;
    case DropTarget::None:
        break;
    }
}

void frmConsole::addDropped(const QStringList& paths)
{
    QStringList files;
    QStringList folders;
    for (const QString& path : paths)
        (QFileInfo(path).isDir() ? folders : files) << path;
    if (folders.isEmpty()) {
        addFiles(files);
        return;
    }

    // A folder of many thousand photos takes a while to search: the search runs beside
    // the window, which says so after a moment and lets it be cancelled.
    auto* search
        = new QProgressDialog(QStringLiteral("Hledám tapety ve složkách..."), QStringLiteral("Zrušit"), 0, 0, this);
    search->setObjectName(QStringLiteral("folderSearch"));
    search->setWindowTitle(QStringLiteral("Přidat tapety"));
    search->setWindowModality(Qt::WindowModal);
    search->setMinimumDuration(std::numeric_limits<int>::max());
    auto stop = std::make_shared<std::stop_source>();
    connect(search, &QProgressDialog::canceled, search, [stop] { stop->request_stop(); });
    // By name: the analyzer cannot follow the functor form's slot object to its release.
    QTimer::singleShot(ShowSearchAfterMs, search, SLOT(show()));

    // Enough to fill the collection and tell that more would not fit.
    const qsizetype wanted = kMaxCollectionEntries - m_collection->count() + 1;
    auto found = std::make_shared<QStringList>(files);
    setCollectionBusy(true);
    m_services.work->run(
        this,
        [folders, found, wanted, stop = stop->get_token()] {
            for (const QString& folder : folders) {
                QDirIterator tree(folder, QDir::Files, QDirIterator::Subdirectories);
                while (tree.hasNext() && !stop.stop_requested() && found->size() < wanted) {
                    const QString path = tree.next();
                    if (isPictureFile(path))
                        *found << path;
                }
            }
        },
        [this, found, stop, search] {
            delete search;
            {
                // Its end lets a change asked for meanwhile run.
                const ListWork busy(*this);
                setCollectionBusy(false);
            }
            if (!m_ended && !stop->stop_requested())
                addFiles(*found);
        });
}
