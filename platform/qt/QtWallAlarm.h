#pragma once

#include "platform/Clock.h"

#include <QElapsedTimer>
#include <QTimer>

// The alarm from Qt's timers alone, for systems without a timer on the wall clock.
// Qt's timers follow a clock that stands still in a suspend and ignores the wall clock
// being set, so a coarse look at the wall clock once a second catches what they miss.
class QtWallAlarm final : public WallAlarm {
public:
    QtWallAlarm();
    void setMoment(const QDateTime& moment) override;

private:
    void check();

    QDateTime m_moment;
    QTimer m_atMoment;
    QTimer m_everySecond;
    // The wall clock when the moment was set, and the time passed since.
    qint64 m_baseWallMs = 0;
    QElapsedTimer m_sinceBase;
};
