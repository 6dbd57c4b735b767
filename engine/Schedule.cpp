#include "engine/Schedule.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <optional>

QString longTimeFormat(const QLocale& locale)
{
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        out += c;
    }
    out = out.trimmed();
    while (out.contains(QLatin1String("  ")))
        out.replace(QLatin1String("  "), QLatin1String(" "));
    return out;
}

QString renderLongTime(const QDateTime& moment, const QLocale& locale)
{
    return locale.toString(moment.time(), longTimeFormat(locale));
}

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

QString nextChangeTimeText(const QDateTime& now, float seconds, const QLocale& locale)
{
    const std::optional<qint64> ms = intervalMs(now, seconds);
    if (!ms)
        return {};
    return renderLongTime(now.addMSecs(*ms), locale);
}

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

int secondsOfDay(const QString& caption, const QLocale& locale)
{
    const QString text = caption.trimmed();
    if (text.isEmpty())
        return 0;
    QTime time = locale.toTime(text, longTimeFormat(locale));
    if (!time.isValid())
        time = QTime::fromString(text, QStringLiteral("H:mm:ss"));
    if (!time.isValid()) {
        // Any other rendering that still carries hours, minutes and maybe seconds.
        static const QRegularExpression pattern(QStringLiteral("(\\d{1,2})\\D(\\d{1,2})(?:\\D(\\d{1,2}))?"));
        const QRegularExpressionMatch match = pattern.match(text);
        if (!match.hasMatch())
            return 0;
        int hour = match.captured(1).toInt();
        const int minute = match.captured(2).toInt();
        const int second = match.captured(3).toInt();
        const QString lower = text.toLower();
        if (lower.contains(locale.pmText().toLower()) && !locale.pmText().isEmpty() && hour < 12)
            hour += 12;
        else if (lower.contains(locale.amText().toLower()) && !locale.amText().isEmpty() && hour == 12)
            hour = 0;
        time = QTime(hour, minute, second);
        if (!time.isValid())
            return 0;
    }
    return time.msecsSinceStartOfDay() / 1000;
}

QString countdownText(const QString& clockCaption, const QString& nextCaption, const QLocale& locale)
{
    const int clock = secondsOfDay(clockCaption, locale);
    int next = secondsOfDay(nextCaption, locale);
    if (next < clock)
        next += 86400;
    const int d = next - clock;
    const int hours = (d / 3600) % 24;
    const int minutes = (d / 60) % 60;
    const int seconds = d % 60;
    return QStringLiteral("%1:%2:%3")
        .arg(hours, 2, 10, QLatin1Char('0'))
        .arg(minutes, 2, 10, QLatin1Char('0'))
        .arg(seconds, 2, 10, QLatin1Char('0'));
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
