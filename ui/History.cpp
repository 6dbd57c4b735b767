// The history of the pictures shown: back, and forward again.
#include "ui/frmConsole.h"

#include "engine/BitmapLocation.h"
#include "engine/EntryFile.h"
#include "platform/BackgroundWork.h"
#include "platform/ShownPictureStore.h"
#include "ui/ChangeLog.h"

#include <QFileInfo>

namespace {
bool pictureExists(const ShownHistory::Picture& picture)
{
    const EntryFile file(picture.entry);
    return !file.path().isEmpty() && QFileInfo::exists(file.path());
}
} // namespace

void frmConsole::loadHistory()
{
    if (m_services.shown)
        m_history = ShownHistory(m_services.shown->readHistory());
}

void frmConsole::recordInHistory(int style)
{
    if (m_previewBytes.isEmpty())
        return;
    m_history.record({m_collection->path(), m_previewBytes, style});
    saveHistory();
}

void frmConsole::saveHistory()
{
    if (!m_services.shown)
        return;
    // Replaced whole and forced to disk, beside the window.
    m_services.work->run(
        this, [store = m_services.shown, history = m_history.state()] { store->writeHistory(history); }, [] {});
}

void frmConsole::goBackInHistory()
{
    if (m_ended)
        return;
    if (const std::optional<ShownHistory::Picture> picture = m_history.back(pictureExists))
        applyFromHistory(*picture);
}

void frmConsole::goForwardOrChange()
{
    if (m_ended)
        return;
    if (const std::optional<ShownHistory::Picture> picture = m_history.forward(pictureExists)) {
        applyFromHistory(*picture);
        return;
    }
    changeNow_Click();
}

void frmConsole::applyFromHistory(const ShownHistory::Picture& picture)
{
    qCDebug(lcChanges, "asked");
    saveHistory();
    // A change still waiting for its picture reaches the desktop first.
    finishAwaitedChange();
    ++m_changesRunning;
    m_pipeline->changeToEntry(this, picture.entry, errorPicturePath(*m_services.location), picture.style,
                              wallpaperBitmapPath(*m_services.location), changeDone());
}

bool frmConsole::isOneShot() const
{
    return m_argumentText == QLatin1String("--next") || m_argumentText == QLatin1String("--previous");
}

bool frmConsole::runOneShotFromHistory()
{
    const bool back = m_argumentText == QLatin1String("--previous");
    const std::optional<ShownHistory::Picture> picture
        = back ? m_history.back(pictureExists) : m_history.forward(pictureExists);
    if (picture)
        applyFromHistory(*picture);
    else if (!back)
        return false;
    endProcess(picture ? 0 : 1);
    return true;
}
