// The 100 ms tick: clock, date, countdown and the automatic change; while the window is
// hidden, the alarm at the change's moment in its place, and one shortly before it when
// the preview's picture is to be decoded again.
#include "ui/frmConsole.h"

#include "ui_frmConsole.h"

#include "engine/Schedule.h"
#include "engine/SettingsText.h"
#include "platform/Clock.h"
#include "ui/FittingText.h"
#include "ui/Texts.h"

namespace {

// How long before a change made while hidden its picture is decoded again. A 45 MP
// JPEG takes about a second on a current laptop and three to four on an old one of two
// cores; twenty seconds leave room for a slow disk, a processor woken from deep sleep
// and a busy machine, and still hold the picture for only seconds of an interval that
// is usually an hour. The change itself then only hands the picture over.
constexpr qint64 PictureLeadMs = 20000;

// Setting an unchanged text would still cost a layout pass on some labels.
void setTextIfChanged(QLabel* label, const QString& text)
{
    if (label->text() != text)
        label->setText(text);
}

} // namespace

void frmConsole::Timer1_Timer()
{
    if (m_ended)
        return;
    // Ten ticks fall into each second; texts are made only when their second changes.
    const QDateTime clockNow = m_services.clock->now();
    if (clockNow.toSecsSinceEpoch() != m_clockSecond) {
        m_clockSecond = clockNow.toSecsSinceEpoch();
        setTextIfChanged(ui->Cas, clockText(clockNow));
    }

    const QDateTime now = m_services.clock->now();
    followClockSetBack(now);
    // The change falls due once its moment has passed, however late the tick comes: a
    // suspended laptop or a stalled process makes up one change when it runs again.
    if (m_dueAt.isValid() && now >= m_dueAt) {
        const bool allowed = ui->Check2->isChecked() && !ui->Option1->isChecked() && ui->editBox->isHidden()
            && ui->nastaveni->isHidden();
        // Moved on before the change, so a change that cannot be made (no collection)
        // is tried again at that time tomorrow rather than at every tick; a change that
        // is made schedules its successor itself.
        m_dueAt = sameClockTimeAfter(m_dueAt, now);
        armAlarm();
        if (allowed) {
            changeNow_Click();
            return;
        }
    }
    // Measured only when the day turns: the weekday name may not fit the line at the form's size.
    if (now.date() != m_renderedDate) {
        m_renderedDate = now.date();
        setFittingText(ui->Datum, dateText(now, m_services.clock->locale()));
    }
    if (ui->Option3->isChecked() && ui->Check2->isChecked()) {
        const QString& clock = ui->Cas->text();
        const QString& next = ui->CasZmeny->text();
        if (clock != m_countdownClock || next != m_countdownNext) {
            m_countdownClock = clock;
            m_countdownNext = next;
            setTextIfChanged(ui->StatusCas, countdownText(clock, next, m_services.clock->locale()));
        }
    } else {
        m_countdownClock.clear();
        setTextIfChanged(ui->StatusCas, Texts::CountdownOff);
    }
    armAlarm();
}

void frmConsole::ScheduleNextChange()
{
    const float seconds = static_cast<float>(intervalValue(ui->Text1->text()) * 60.0);
    const QDateTime now = m_services.clock->now();
    ui->CasZmeny->setText(nextChangeTimeText(now, seconds, m_services.clock->locale()));
    m_dueAt = nextChangeMoment(now, seconds);
    armAlarm();
}

void frmConsole::followClockSetBack(const QDateTime& now)
{
    // A clock set back by hand moves the next change back with it, so the time left is
    // kept: no change is lost to the hour that now comes again, and none is made early.
    if (m_lastTick.isValid() && now < m_lastTick)
        moveDueBy(m_lastTick.msecsTo(now));
    m_lastTick = now;
}

void frmConsole::moveDueBy(qint64 ms)
{
    if (!m_dueAt.isValid())
        return;
    m_dueAt = m_dueAt.addMSecs(ms);
    ui->CasZmeny->setText(renderLongTime(m_dueAt, m_services.clock->locale()));
}

void frmConsole::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    followVisibility();
}

void frmConsole::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    followVisibility();
}

void frmConsole::followVisibility()
{
    const bool sleep = !isVisible() && !m_ended;
    if (sleep == m_sleeping)
        return;
    m_sleeping = sleep;
    if (sleep) {
        // Ten wake-ups a second for texts nobody sees would keep the processor from resting.
        Timer1.stop();
        if (!pictureWantedSoon())
            letPictureGo();
        armAlarm();
        return;
    }
    m_alarm->setMoment(QDateTime());
    if (m_ended)
        return;
    bringPictureBack();
    Timer1_Timer();
    Timer1.start();
}

void frmConsole::alarm_Wake(qint64 clockSetMs)
{
    if (!m_sleeping)
        return;
    // The last tick may lie hours back; how far the clock was set since comes with the wake.
    m_lastTick = QDateTime();
    if (clockSetMs < 0)
        moveDueBy(clockSetMs);
    if (pictureWantedSoon())
        bringPictureBack();
    Timer1_Timer();
    // A change that could not be made, or a clock set back, leaves the next one far off.
    if (m_sleeping && !m_ended && !pictureWantedSoon())
        letPictureGo();
}

void frmConsole::armAlarm()
{
    if (!m_sleeping || m_ended)
        return;
    // Without its picture, the window wakes first to have it decoded, then at the change.
    const QDateTime decodeAt = pictureMoment();
    const bool decodeFirst = m_pictureLetGo && decodeAt.isValid() && m_services.clock->now() < decodeAt;
    m_alarm->setMoment(decodeFirst ? decodeAt : m_dueAt);
}

QDateTime frmConsole::pictureMoment() const
{
    if (!m_dueAt.isValid() || !ui->Check2->isChecked() || ui->Option1->isChecked())
        return {};
    return m_dueAt.addMSecs(-PictureLeadMs);
}

bool frmConsole::pictureWantedSoon() const
{
    const QDateTime decodeAt = pictureMoment();
    return decodeAt.isValid() && m_services.clock->now() >= decodeAt;
}
