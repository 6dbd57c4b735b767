#include "core/ChangeSchedule.h"

#include "engine/Schedule.h"
#include "platform/Clock.h"

ChangeSchedule::ChangeSchedule(const Clock& clock, QObject* parent)
    : QObject(parent)
    , m_clock(clock)
    , m_alarm(clock.makeAlarm())
{
    m_alarm->onWake = [this](qint64 clockSetMs) {
        // The last tick may lie hours back; how far the clock was set since comes with
        // the wake.
        m_lastTick = QDateTime();
        if (clockSetMs < 0)
            moveBy(clockSetMs);
        Q_EMIT woke();
    };
}

ChangeSchedule::~ChangeSchedule() = default;

void ChangeSchedule::planAfter(double minutes)
{
    // Single precision, as the interval has always been counted: a stored interval
    // falls due at the very millisecond it always did.
    m_due = nextChangeMoment(m_clock.now(), static_cast<float>(minutes * 60.0));
}

bool ChangeSchedule::takeDue(const QDateTime& now)
{
    if (m_lastTick.isValid() && now < m_lastTick)
        moveBy(m_lastTick.msecsTo(now));
    m_lastTick = now;
    if (!m_due.isValid() || now < m_due)
        return false;
    m_due = sameClockTimeAfter(m_due, now);
    return true;
}

void ChangeSchedule::setAlarm(const QDateTime& moment)
{
    m_alarm->setMoment(moment);
}

void ChangeSchedule::moveBy(qint64 ms)
{
    if (m_due.isValid())
        m_due = m_due.addMSecs(ms);
}
