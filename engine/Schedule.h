#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// The moment the next change falls due, `seconds` after `now`. An interval under a day
// falls due that real time later; a longer one at the first time that time of day
// comes, so whole days of the interval are dropped and a whole number of days (none
// included) means the same time tomorrow, also across a daylight-saving change. Invalid
// when `now` plus the interval is no date a clock can show.
QDateTime nextChangeMoment(const QDateTime& now, float seconds);

// The same clock time on the first later day that lies after `now`: the occasion a
// change gets when it could not be made at its moment.
QDateTime sameClockTimeAfter(const QDateTime& moment, const QDateTime& now);

// The time left from `now` to `due` as "HH:MM:SS", second by second of the day and
// wrapping past midnight; with nothing due, the time left to midnight.
QString countdownText(const QDateTime& now, const QDateTime& due);

// "hh:mm:ss" and "dddd d.m. yyyy" with the locale's full weekday name.
QString clockText(const QDateTime& now);
QString dateText(const QDateTime& now, const QLocale& locale);
