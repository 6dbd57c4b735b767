#include "platform/linux/TimerFdAlarm.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <ctime>
#include <sys/timerfd.h>
#include <unistd.h>

namespace {
qint64 clockMs(clockid_t id)
{
    timespec now{};
    clock_gettime(id, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
}
} // namespace

std::unique_ptr<WallAlarm> TimerFdAlarm::create()
{
    const int fd = timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (fd < 0)
        return nullptr;
    return std::unique_ptr<WallAlarm>(new TimerFdAlarm(fd));
}

TimerFdAlarm::TimerFdAlarm(int fd)
    : m_fd(fd)
    , m_notifier(fd, QSocketNotifier::Read)
{
    QObject::connect(&m_notifier, &QSocketNotifier::activated, [this] { readable(); });
}

TimerFdAlarm::~TimerFdAlarm()
{
    m_notifier.setEnabled(false);
    close(m_fd);
}

void TimerFdAlarm::setMoment(const QDateTime& moment)
{
    m_baseWallMs = clockMs(CLOCK_REALTIME);
    m_baseBootMs = clockMs(CLOCK_BOOTTIME);
    // A moment at or before the epoch would read as "disarm"; it is past anyway.
    arm(moment.isValid() ? std::max<qint64>(moment.toMSecsSinceEpoch(), 1) : 0);
}

void TimerFdAlarm::arm(qint64 epochMs)
{
    itimerspec when{};
    when.it_value.tv_sec = static_cast<time_t>(epochMs / 1000);
    when.it_value.tv_nsec = static_cast<long>(epochMs % 1000) * 1'000'000;
    timerfd_settime(m_fd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &when, nullptr);
}

void TimerFdAlarm::readable()
{
    // Either the moment came (a count of expiries) or the clock was set (ECANCELED).
    std::uint64_t expiries = 0;
    const ssize_t got = read(m_fd, &expiries, sizeof expiries);
    if (got < 0 && errno != ECANCELED)
        return;
    const bool clockSet = got < 0;
    // Only on the kernel's word: the two clocks read a moment apart differ by a
    // millisecond now and then, which must not move the change into the second before.
    const qint64 setMs
        = clockSet ? (clockMs(CLOCK_REALTIME) - m_baseWallMs) - (clockMs(CLOCK_BOOTTIME) - m_baseBootMs) : 0;
    arm(0);
    if (onWake)
        onWake(setMs);
}
