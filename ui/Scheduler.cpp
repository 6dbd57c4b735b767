// The 100 ms tick: clock, date, countdown and the automatic change.
#include "ui/frmConsole.h"

#include "ui_frmConsole.h"

#include "engine/Schedule.h"
#include "engine/SettingsText.h"
#include "platform/Clock.h"
#include "ui/Texts.h"

namespace {

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
    const qint64 second = now.toSecsSinceEpoch();
    if (second != m_renderedSecond) {
        m_renderedSecond = second;
        m_renderedNow = renderLongTime(now, m_services.clock->locale());
    }
    // A change sets the next one a whole number of days ahead when the interval is
    // one; it must not repeat within the second it was made in.
    const bool due = m_renderedNow == ui->CasZmeny->text() && ui->Check2->isChecked() && !ui->Option1->isChecked()
                     && ui->editBox->isHidden() && ui->nastaveni->isHidden()
                     && (!m_lastChangeSecond.isValid() || m_lastChangeSecond.toSecsSinceEpoch() != second);
    if (due) {
        changeNow_Click();
        return;
    }
    if (now.date() != m_renderedDate) {
        m_renderedDate = now.date();
        setTextIfChanged(ui->Datum, dateText(now, m_services.clock->locale()));
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
}

void frmConsole::ScheduleNextChange()
{
    const float seconds = static_cast<float>(intervalValue(ui->Text1->text()) * 60.0);
    ui->CasZmeny->setText(nextChangeTimeText(m_services.clock->now(), seconds, m_services.clock->locale()));
}
