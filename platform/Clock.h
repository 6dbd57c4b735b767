#pragma once

#include <QDateTime>
#include <QLocale>
#include <functional>
#include <memory>

// Wakes its owner when the wall clock reaches a moment, and also as soon as the wall
// clock is set, so a program with nothing to show can sleep until then and still not
// miss a suspend, a resume or a clock changed by hand.
class WallAlarm {
public:
    virtual ~WallAlarm() = default;
    // One moment at a time; an invalid moment disarms the alarm.
    virtual void setMoment(const QDateTime& moment) = 0;
    // Runs from the event loop, once: a wake disarms the alarm until the next moment is
    // set. The argument is how far the wall clock was set since the moment was last set,
    // in milliseconds (negative: back); time passing does not count, though where the
    // system offers no clock that runs on in a suspend, a resume reads as a clock set
    // forward.
    std::function<void(qint64 clockSetMs)> onWake;
};

// Time and the user's formats come from here, so tests can move time by hand.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    virtual QLocale locale() const = 0;
    virtual std::unique_ptr<WallAlarm> makeAlarm() const = 0;
};
