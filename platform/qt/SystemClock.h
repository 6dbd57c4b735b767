#pragma once

#include "platform/Clock.h"

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    QLocale locale() const override { return QLocale::system(); }
    std::unique_ptr<WallAlarm> makeAlarm() const override;
};
