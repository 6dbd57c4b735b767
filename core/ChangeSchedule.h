#pragma once

#include <QDateTime>
#include <QObject>
#include <memory>

class Clock;
class WallAlarm;

// When the next automatic change falls due. A clock set back by hand moves the moment
// back with it, so the time left is kept: no change is lost to the hour that now comes
// again, and none is made early. Hidden, the window sleeps on the wall-clock alarm
// rather than ticking.
class ChangeSchedule : public QObject {
    Q_OBJECT
public:
    explicit ChangeSchedule(const Clock& clock, QObject* parent = nullptr);
    ~ChangeSchedule() override;

    // The next change `minutes` from now; none when that is no time a clock can show.
    void planAfter(double minutes);
    // Invalid when no automatic change is coming.
    QDateTime due() const { return m_due; }
    // At each tick: whether the due moment has passed, however late the tick comes. A
    // passed moment moves on to the same clock time of a later day, so a change that
    // cannot be made is tried again then rather than at every tick; a change that is
    // made plans its successor itself.
    bool takeDue(const QDateTime& now);
    // The alarm rings `woke` at `moment` or as soon as the clock is set; an invalid
    // moment disarms it.
    void setAlarm(const QDateTime& moment);

Q_SIGNALS:
    // The alarm rang; a clock set back has moved the due moment already.
    void woke();

private:
    void moveBy(qint64 ms);

    const Clock& m_clock;
    std::unique_ptr<WallAlarm> m_alarm;
    QDateTime m_due;
    // The clock at the last tick, to notice it being set back.
    QDateTime m_lastTick;
};
