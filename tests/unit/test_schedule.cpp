#include "engine/Schedule.h"

#include <QTimeZone>
#include <gtest/gtest.h>
#include <limits>

namespace {
const QLocale czech(QLocale::Czech, QLocale::Czechia);
const QDateTime tenFifteen(QDate(2026, 3, 16), QTime(10, 15, 30));
} // namespace

TEST(Schedule, LongTimeFormatCarriesNoTimeZone)
{
    for (const QLocale& locale : {czech, QLocale(QLocale::English, QLocale::UnitedStates), QLocale::c()}) {
        const QString format = longTimeFormat(locale);
        EXPECT_FALSE(format.contains(QLatin1Char('t'))) << format.toStdString();
        EXPECT_TRUE(format.contains(QLatin1String("ss"))) << format.toStdString();
        EXPECT_EQ(format, format.trimmed());
    }
    EXPECT_EQ(renderLongTime(tenFifteen, czech), QStringLiteral("10:15:30"));
}

TEST(Schedule, NextChangeTimeAddsTheInterval)
{
    EXPECT_EQ(nextChangeTimeText(tenFifteen, 60.0f * 60.0f, czech), QStringLiteral("11:15:30"));
    EXPECT_EQ(nextChangeTimeText(tenFifteen, 0.5f * 60.0f, czech), QStringLiteral("10:16:00"));
    EXPECT_EQ(nextChangeTimeText(tenFifteen, 1.5f * 60.0f, czech), QStringLiteral("10:17:00"));
    // A time of day only: 1500 minutes lands one hour after the previous change.
    EXPECT_EQ(nextChangeTimeText(tenFifteen, 1500.0f * 60.0f, czech), QStringLiteral("11:15:30"));
    EXPECT_EQ(nextChangeTimeText(tenFifteen, 0.0f, czech), QStringLiteral("10:15:30"));
}

TEST(Schedule, NextChangeTimeIsEmptyWhenItCannotBeComputed)
{
    EXPECT_EQ(nextChangeTimeText(tenFifteen, std::numeric_limits<float>::max(), czech), QString());
    EXPECT_EQ(nextChangeTimeText(tenFifteen, std::numeric_limits<float>::infinity(), czech), QString());
    EXPECT_EQ(nextChangeTimeText(tenFifteen, std::numeric_limits<float>::quiet_NaN(), czech), QString());
    // Past the year 9999.
    EXPECT_EQ(nextChangeTimeText(tenFifteen, 1e12f * 60.0f, czech), QString());
}

TEST(Schedule, NextChangeAcrossDaylightSavingIsAClockTimeThatOccurs)
{
    // 29 March 2026: clocks jump from 02:00 to 03:00.
#if defined(Q_OS_UNIX)
    qputenv("TZ", "Europe/Prague");
    tzset();
    const QDateTime before(QDate(2026, 3, 29), QTime(1, 45, 0));
#else
    // Windows takes the local zone from the system, never from TZ: Prague's zone itself.
    const QDateTime before(QDate(2026, 3, 29), QTime(1, 45, 0), QTimeZone("Europe/Prague"));
#endif
    ASSERT_EQ(before.offsetFromUtc(), 3600);
    // Thirty minutes of real time later the clock reads 03:15, not the missing 02:15.
    EXPECT_EQ(nextChangeTimeText(before, 30.0f * 60.0f, czech), QStringLiteral("3:15:00"));
#if defined(Q_OS_UNIX)
    qunsetenv("TZ");
    tzset();
#endif
}

TEST(Schedule, CountdownWrapsPastMidnight)
{
    EXPECT_EQ(countdownText(QStringLiteral("10:15:30"), QStringLiteral("11:15:30"), czech), QStringLiteral("01:00:00"));
    EXPECT_EQ(countdownText(QStringLiteral("11:15:29"), QStringLiteral("11:15:30"), czech), QStringLiteral("00:00:01"));
    EXPECT_EQ(countdownText(QStringLiteral("23:50:00"), QStringLiteral("0:10:00"), czech), QStringLiteral("00:20:00"));
    EXPECT_EQ(countdownText(QStringLiteral("12:00:00"), QStringLiteral("12:00:00"), czech), QStringLiteral("00:00:00"));
    // One second past the change: almost a whole day left.
    EXPECT_EQ(countdownText(QStringLiteral("12:00:01"), QStringLiteral("12:00:00"), czech), QStringLiteral("23:59:59"));
}

TEST(Schedule, UnreadableCaptionsCountAsMidnight)
{
    EXPECT_EQ(countdownText(QStringLiteral("<neznámý čas>"), QStringLiteral("1:00:00"), czech),
              QStringLiteral("01:00:00"));
    EXPECT_EQ(countdownText(QStringLiteral("10:00:00"), QString(), czech), QStringLiteral("14:00:00"));
    EXPECT_EQ(countdownText(QStringLiteral("Label37"), QStringLiteral("Label37"), czech), QStringLiteral("00:00:00"));
    // Another locale's rendering, with a day-half marker, still reads.
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(secondsOfDay(QStringLiteral("1:02:03 PM"), english), 13 * 3600 + 2 * 60 + 3);
    EXPECT_EQ(secondsOfDay(QStringLiteral("12:00:05 AM"), english), 5);
}

TEST(Schedule, ClockAndDateTexts)
{
    EXPECT_EQ(clockText(QDateTime(QDate(2026, 1, 2), QTime(7, 5, 9))), QStringLiteral("07:05:09"));
    EXPECT_EQ(dateText(QDateTime(QDate(2026, 3, 16), QTime(1, 0)), czech), QStringLiteral("pondělí 16.3. 2026"));
    EXPECT_EQ(dateText(QDateTime(QDate(2026, 11, 1), QTime(1, 0)), QLocale(QLocale::English, QLocale::UnitedStates)),
              QStringLiteral("Sunday 1.11. 2026"));
}
