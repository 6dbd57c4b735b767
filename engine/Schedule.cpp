#include "engine/Schedule.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

constexpr qint64 DayMs = 86400LL * 1000;

// The interval in whole milliseconds, or nothing when `now` plus it is no date a clock
// can show.
std::optional<qint64> intervalMs(const QDateTime& now, float seconds)
{
    if (!std::isfinite(seconds))
        return std::nullopt;
    const double milliseconds = std::round(static_cast<double>(seconds) * 1000.0);
    // Far outside any date a clock can show; also keeps the cast below in range.
    if (std::fabs(milliseconds) > 1e15)
        return std::nullopt;
    const QDateTime next = now.addMSecs(static_cast<qint64>(milliseconds));
    if (!next.isValid() || next.date().year() > 9999 || next.date().year() < 100)
        return std::nullopt;
    return static_cast<qint64>(milliseconds);
}

} // namespace

QDateTime nextChangeMoment(const QDateTime& now, float seconds)
{
    const std::optional<qint64> ms = intervalMs(now, seconds);
    if (!ms)
        return {};
    // Within a day the moment is the interval's real time later, the instant the shown
    // time of day first comes. Longer ones drop whole days: the moment is the first time
    // the shown time of day comes, which across a daylight-saving change is not the
    // interval less whole days of real time.
    if (*ms > 0 && *ms < DayMs)
        return now.addMSecs(*ms);
    const QTime shown = now.addMSecs(*ms).time();
    // The shown time may fall in the hour skipped on the first day it could come.
    for (int days = 0; days <= 2; ++days) {
        QDateTime moment = now.addDays(days);
        moment.setTime(shown);
        if (moment > now && moment.time() == shown)
            return moment;
    }
    return {};
}

QDateTime sameClockTimeAfter(const QDateTime& moment, const QDateTime& now)
{
    QDateTime next = moment.addDays(std::max<qint64>(1, moment.daysTo(now)));
    while (next <= now)
        next = next.addDays(1);
    return next;
}

QString countdownText(const QDateTime& now, const QDateTime& due)
{
    // The time of day to the time of day, as the two clocks on the window read: across a
    // daylight-saving change the countdown agrees with the clock rather than with the
    // real time left.
    const int clock = now.time().msecsSinceStartOfDay() / 1000;
    int next = due.isValid() ? due.time().msecsSinceStartOfDay() / 1000 : 0;
    if (next < clock)
        next += 86400;
    const int d = next - clock;
    return QStringLiteral("%1:%2:%3")
        .arg(d / 3600, 2, 10, QLatin1Char('0'))
        .arg((d / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(d % 60, 2, 10, QLatin1Char('0'));
}

QString clockText(const QDateTime& now)
{
    return now.time().toString(QStringLiteral("HH:mm:ss"));
}

QString dateText(const QDateTime& now, const QLocale& locale)
{
    const QDate date = now.date();
    return locale.dayName(date.dayOfWeek(), QLocale::LongFormat) + QLatin1Char(' ') + QString::number(date.day())
        + QLatin1Char('.') + QString::number(date.month()) + QLatin1String(". ") + QString::number(date.year());
}
