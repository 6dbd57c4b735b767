#pragma once

#include <QDateTime>
#include <QLocale>

// Time and the user's formats come from here, so tests can move time by hand.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    virtual QLocale locale() const = 0;
};
