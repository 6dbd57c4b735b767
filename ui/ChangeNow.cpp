// One wallpaper change, and the preview's style menu.
#include "ui/frmConsole.h"

#include "ui_frmConsole.h"

#include "engine/BitmapLocation.h"
#include "engine/ChangeSequence.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"
#include "platform/WallpaperSetter.h"
#include "ui/TextColour.h"
#include "ui/Texts.h"

void frmConsole::setChangeNowBusy(bool busy)
{
    ui->changeNow->setEnabled(!busy);
    setTextColour(ui->changeNow, busy ? Colours::Grey : Colours::Blue);
    ui->changeNow->setText(busy ? QStringLiteral("probíhá změna ....") : QStringLiteral("změnit tapetu ihned"));
    // The change itself does not return to the event loop; show the state right away.
    if (ui->changeNow->isVisible())
        ui->changeNow->repaint();
}

void frmConsole::changeNow_Click()
{
    if (m_ended)
        return;
    if (m_listWork > 0) {
        m_changeWaiting = true;
        return;
    }
    setChangeNowBusy(true);
    clearMarks();
    if (ui->Label31->text() == Texts::NoCollection) {
        m_services.messages->show(this, Texts::NoCollectionText, Texts::SettingsCheckTitle, MsgStyle::OkCritical);
        setChangeNowBusy(false);
        return;
    }
    ScheduleNextChange();
    if (ui->Option4->isChecked())
        ApplyPreviewAsWallpaper(StyleCenter);
    if (ui->Option2->isChecked())
        ApplyPreviewAsWallpaper(StyleStretch);
    if (ui->Option5->isChecked())
        ApplyPreviewAsWallpaper(StyleTile);
    setChangeNowBusy(false);
    rememberShown();
    moveToNextEntry();
}

void frmConsole::moveToNextEntry()
{
    const int count = m_collection->count();
    const AdvancePlan plan = planAdvance(currentRow(), count, ui->Check3->isChecked());
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
    // A change that comes while its picture is still being decoded waits for it.
    finishPreview();
    m_pipeline->change(this, ui->nahled->picture(), style, wallpaperBitmapPath(*m_services.location));
}

void frmConsole::mnuCenter_Click()
{
    ApplyPreviewAsWallpaper(StyleCenter);
}

void frmConsole::mnustr_Click()
{
    ApplyPreviewAsWallpaper(StyleStretch);
}

void frmConsole::mnutile_Click()
{
    ApplyPreviewAsWallpaper(StyleTile);
}
