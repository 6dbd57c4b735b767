#pragma once

#include "platform/Clock.h"

#include <QSocketNotifier>
#include <memory>

// The alarm as a timer of the kernel on the wall clock: it costs no wake-up before its
// moment, it fires on resume when the moment passed in a suspend, and the kernel tells
// it when the clock is set.
class TimerFdAlarm final : public WallAlarm {
public:
    // Null when the kernel offers no such timer.
    static std::unique_ptr<WallAlarm> create();
    ~TimerFdAlarm() override;
    TimerFdAlarm(const TimerFdAlarm&) = delete;
    TimerFdAlarm& operator=(const TimerFdAlarm&) = delete;

    void setMoment(const QDateTime& moment) override;

private:
    explicit TimerFdAlarm(int fd);
    void readable();
    void arm(qint64 epochMs);

    int m_fd;
    QSocketNotifier m_notifier;
    // The wall clock and the clock that runs on in a suspend, when the moment was set:
    // what the first gained beyond the second is how far the clock was set.
    qint64 m_baseWallMs = 0;
    qint64 m_baseBootMs = 0;
};
