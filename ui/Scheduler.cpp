// The 100 ms tick: clock, date, countdown and the automatic change; while the window is
// hidden, the alarm at the change's moment in its place, and one shortly before it when
// the preview's picture is to be decoded again.
#include "ui/frmConsole.h"

#include "ui_frmConsole.h"

#include "core/ChangeSchedule.h"
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
    if (m_schedule->takeDue(now)) {
        const bool allowed = m_options->run() && m_options->mode() != Options::Mode::AfterStart
            && ui->editBox->isHidden() && ui->nastaveni->isHidden();
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
    if (m_options->mode() == Options::Mode::AfterInterval && m_options->run()) {
        if (m_clockSecond != m_countdownSecond || m_schedule->due() != m_countdownDue) {
            m_countdownSecond = m_clockSecond;
            m_countdownDue = m_schedule->due();
            setTextIfChanged(ui->StatusCas, countdownText(clockNow, m_countdownDue));
        }
    } else {
        m_countdownSecond = -1;
        setTextIfChanged(ui->StatusCas, Texts::CountdownOff);
    }
    armAlarm();
}

void frmConsole::ScheduleNextChange()
{
    m_schedule->planAfter(intervalValue(m_options->interval()));
    armAlarm();
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
    m_schedule->setAlarm(QDateTime());
    if (m_ended)
        return;
    bringPictureBack();
    Timer1_Timer();
    Timer1.start();
}

void frmConsole::alarm_Wake()
{
    if (!m_sleeping)
        return;
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
    m_schedule->setAlarm(decodeFirst ? decodeAt : m_schedule->due());
}

QDateTime frmConsole::pictureMoment() const
{
    const QDateTime due = m_schedule->due();
    if (!due.isValid() || !m_options->run() || m_options->mode() == Options::Mode::AfterStart)
        return {};
    return due.addMSecs(-PictureLeadMs);
}

bool frmConsole::pictureWantedSoon() const
{
    const QDateTime decodeAt = pictureMoment();
    return decodeAt.isValid() && m_services.clock->now() >= decodeAt;
}
