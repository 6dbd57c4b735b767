// One wallpaper change, and the preview's style menu.
#include "ui/frmConsole.h"

#include "ui_frmConsole.h"

#include "engine/BitmapLocation.h"
#include "engine/ChangeSequence.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"
#include "platform/PictureDecoder.h"
#include "platform/WallpaperSetter.h"
#include "ui/ChangeLog.h"
#include "ui/TextColour.h"
#include "ui/Texts.h"

Q_LOGGING_CATEGORY(lcChanges, "tapetor.changes", QtWarningMsg)

void frmConsole::setChangeNowBusy(bool busy)
{
    ui->changeNow->setEnabled(!busy);
    setTextColour(ui->changeNow, busy ? Colours::Grey : Colours::Blue);
    ui->changeNow->setText(busy ? QStringLiteral("probíhá změna ....") : QStringLiteral("změnit tapetu ihned"));
    // During start-up the change does not return to the event loop; show the state
    // right away.
    if (m_startingUp && ui->changeNow->isVisible())
        ui->changeNow->repaint();
}

void frmConsole::changeNow_Click()
{
    if (m_ended)
        return;
    qCDebug(lcChanges, "asked");
    if (m_listWork > 0 || m_changeAwaitsPicture) {
        m_changeWaiting = true;
        return;
    }
    setChangeNowBusy(true);
    clearMarks();
    if (!m_options->hasCollection()) {
        m_services.messages->show(this, Texts::NoCollectionText, Texts::SettingsCheckTitle, MsgStyle::OkCritical);
        setChangeNowBusy(false);
        return;
    }
    ScheduleNextChange();
    withPreviewPicture([this] {
        switch (m_options->style()) {
        case Options::Style::Center:
            ApplyPreviewAsWallpaper(StyleCenter);
            break;
        case Options::Style::Stretch:
            ApplyPreviewAsWallpaper(StyleStretch);
            break;
        case Options::Style::Tile:
            ApplyPreviewAsWallpaper(StyleTile);
            break;
        case Options::Style::None:
            break;
        }
        setChangeNowBusy(false);
        rememberShown();
        moveToNextEntry();
    });
}

void frmConsole::withPreviewPicture(std::function<void()> then)
{
    qCDebug(lcChanges, "asked");
    finishAwaitedChange();
    // Wanted this moment, however far the next automatic change: the picture stays.
    m_pictureWantedNow = true;
    bringPictureBack();
    if (m_previewRequest != 0 && m_startingUp) {
        // The logon run's changes are made before the event loop runs: it ends after
        // them.
        m_services.decoder->finish();
    } else if (m_previewRequest != 0) {
        // The decode goes on beside the window, which stays responsive; a change asked
        // for meanwhile follows this one.
        m_changeAwaitsPicture = true;
        m_pictureReady = std::move(then);
        return;
    }
    m_pictureWantedNow = false;
    then();
}

void frmConsole::finishAwaitedChange()
{
    // Whatever would replace the preview's picture waits for the change that needs it,
    // so changes and the advance keep their order.
    if (m_changeAwaitsPicture)
        m_services.decoder->finish();
}

void frmConsole::moveToNextEntry()
{
    const int count = m_collection->count();
    const AdvancePlan plan = planAdvance(currentRow(), count, m_options->random());
    selectEntry(plan.select);
    if (plan.pickRandom) {
        const double seconds = m_services.clock->now().time().msecsSinceStartOfDay() / 1000.0;
        selectEntry(randomInRange(count - 1, 0, seconds));
    }
}

void frmConsole::mnuchnw_Click()
{
    changeNow_Click();
}

void frmConsole::ApplyPreviewAsWallpaper(int style)
{
    recordInHistory(style);
    ++m_changesRunning;
    m_pipeline->change(this, ui->nahled->picture(), style, wallpaperBitmapPath(*m_services.location), changeDone());
}

std::function<void()> frmConsole::changeDone()
{
    return [this] {
        if (--m_changesRunning == 0 && m_previewDeferred && !m_ended)
            sendPreviewRequest();
        if (m_changesRunning == 0 && !m_changeAwaitsPicture && !m_changeWaiting)
            qCDebug(lcChanges, "idle");
    };
}

void frmConsole::mnuCenter_Click()
{
    withPreviewPicture([this] { ApplyPreviewAsWallpaper(StyleCenter); });
}

void frmConsole::mnustr_Click()
{
    withPreviewPicture([this] { ApplyPreviewAsWallpaper(StyleStretch); });
}

void frmConsole::mnutile_Click()
{
    withPreviewPicture([this] { ApplyPreviewAsWallpaper(StyleTile); });
}
