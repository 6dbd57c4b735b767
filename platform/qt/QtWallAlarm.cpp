#include "platform/qt/QtWallAlarm.h"

#include <algorithm>
#include <cstdlib>

namespace {
// Below this the difference between the two clocks is the timers' own lateness.
constexpr qint64 ClockSetThresholdMs = 1000;
} // namespace

QtWallAlarm::QtWallAlarm()
{
    m_atMoment.setSingleShot(true);
    m_atMoment.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_atMoment, &QTimer::timeout, [this] { check(); });
    m_everySecond.setInterval(1000);
    m_everySecond.setTimerType(Qt::VeryCoarseTimer);
    QObject::connect(&m_everySecond, &QTimer::timeout, [this] { check(); });
}

void QtWallAlarm::setMoment(const QDateTime& moment)
{
    m_moment = moment;
    m_baseWallMs = QDateTime::currentMSecsSinceEpoch();
    m_sinceBase.start();
    if (!moment.isValid()) {
        m_atMoment.stop();
        m_everySecond.stop();
        return;
    }
    // Rounded up, so it does not come a millisecond early and go back to sleep.
    const qint64 left = m_baseWallMs < moment.toMSecsSinceEpoch() ? moment.toMSecsSinceEpoch() - m_baseWallMs + 1 : 0;
    m_atMoment.start(static_cast<int>(std::min<qint64>(left, 86'400'000)));
    m_everySecond.start();
}

void QtWallAlarm::check()
{
    if (!m_moment.isValid())
        return;
    const qint64 wallMs = QDateTime::currentMSecsSinceEpoch();
    const qint64 setMs = wallMs - (m_baseWallMs + m_sinceBase.elapsed());
    const bool due = wallMs >= m_moment.toMSecsSinceEpoch();
    if (!due && std::abs(setMs) < ClockSetThresholdMs) {
        if (!m_atMoment.isActive())
            setMoment(m_moment);
        return;
    }
    m_moment = QDateTime();
    m_atMoment.stop();
    m_everySecond.stop();
    if (onWake)
        onWake(std::abs(setMs) < ClockSetThresholdMs ? 0 : setMs);
}
