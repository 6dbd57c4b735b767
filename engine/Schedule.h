#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// The user's long time format without the time zone, which Qt adds but the next-change
// label must not carry (it is compared with the clock's own rendering every tick).
QString longTimeFormat(const QLocale& locale);
QString renderLongTime(const QDateTime& moment, const QLocale& locale);

// The time of day `seconds` after `now`, in the long time format; empty when it
// cannot be computed. The seconds are real elapsed time, so across a daylight-saving
// change the result is a clock time that actually occurs.
QString nextChangeTimeText(const QDateTime& now, float seconds, const QLocale& locale);

// The moment the change shown by nextChangeTimeText falls due. An interval under a day
// falls due that real time later; a longer one at the first time the shown time of day
// comes, so whole days of the interval are dropped and a whole number of days (none
// included) means the same time tomorrow, also across a daylight-saving change. Invalid
// when no time is shown.
QDateTime nextChangeMoment(const QDateTime& now, float seconds);

// The same clock time on the first later day that lies after `now`: the occasion a
// change gets when it could not be made at its moment.
QDateTime sameClockTimeAfter(const QDateTime& moment, const QDateTime& now);

// Seconds from the clock caption to the next-change caption, wrapping past midnight,
// as "HH:MM:SS". A caption that cannot be read as a time counts as midnight.
QString countdownText(const QString& clockCaption, const QString& nextCaption, const QLocale& locale);

// Seconds since midnight of a time caption, or 0 when it cannot be read.
int secondsOfDay(const QString& caption, const QLocale& locale);

// "hh:mm:ss" and "dddd d.m. yyyy" with the locale's full weekday name.
QString clockText(const QDateTime& now);
QString dateText(const QDateTime& now, const QLocale& locale);
