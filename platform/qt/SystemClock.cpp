#include "platform/qt/SystemClock.h"

#include "platform/qt/QtWallAlarm.h"

#ifdef Q_OS_LINUX
#include "platform/linux/TimerFdAlarm.h"
#endif

std::unique_ptr<WallAlarm> SystemClock::makeAlarm() const
{
#ifdef Q_OS_LINUX
    if (auto alarm = TimerFdAlarm::create())
        return alarm;
#endif
    return std::make_unique<QtWallAlarm>();
}
