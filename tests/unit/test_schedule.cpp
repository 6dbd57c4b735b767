#include "engine/Schedule.h"
#include "engine/SettingsText.h"

#include <QTimeZone>
#include <gtest/gtest.h>
#include <limits>

namespace {
const QLocale czech(QLocale::Czech, QLocale::Czechia);
const QDateTime tenFifteen(QDate(2026, 3, 16), QTime(10, 15, 30));

// The clock time the change falls due at, as the user reads it; empty when none.
QString shownTime(const QDateTime& now, float seconds)
{
    const QDateTime due = nextChangeMoment(now, seconds);
    return due.isValid() ? due.time().toString(QStringLiteral("H:mm:ss")) : QString();
}
} // namespace

TEST(Schedule, NextChangeTimeAddsTheInterval)
{
    EXPECT_EQ(shownTime(tenFifteen, 60.0f * 60.0f), QStringLiteral("11:15:30"));
    EXPECT_EQ(shownTime(tenFifteen, 0.5f * 60.0f), QStringLiteral("10:16:00"));
    EXPECT_EQ(shownTime(tenFifteen, 1.5f * 60.0f), QStringLiteral("10:17:00"));
    // A time of day only: 1500 minutes lands one hour after the previous change.
    EXPECT_EQ(shownTime(tenFifteen, 1500.0f * 60.0f), QStringLiteral("11:15:30"));
    EXPECT_EQ(shownTime(tenFifteen, 0.0f), QStringLiteral("10:15:30"));
}

TEST(Schedule, NextChangeTimeIsEmptyWhenItCannotBeComputed)
{
    EXPECT_EQ(shownTime(tenFifteen, std::numeric_limits<float>::max()), QString());
    EXPECT_EQ(shownTime(tenFifteen, std::numeric_limits<float>::infinity()), QString());
    EXPECT_EQ(shownTime(tenFifteen, std::numeric_limits<float>::quiet_NaN()), QString());
    // Past the year 9999.
    EXPECT_EQ(shownTime(tenFifteen, 1e12f * 60.0f), QString());
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
    EXPECT_EQ(shownTime(before, 30.0f * 60.0f), QStringLiteral("3:15:00"));
#if defined(Q_OS_UNIX)
    qunsetenv("TZ");
    tzset();
#endif
}

TEST(Schedule, TheChangeFallsDueAtTheShownTimeAcrossDaylightSaving)
{
    const QTimeZone prague("Europe/Prague");
    ASSERT_TRUE(prague.isValid());
    // Clocks jump from 02:00 to 03:00 on 29 March 2026 and back from 03:00 to 02:00 on
    // 25 October 2026.
    const QDateTime beforeSpring(QDate(2026, 3, 28), QTime(10, 0), prague);
    const QDateTime beforeAutumn(QDate(2026, 10, 24), QTime(10, 0), prague);
    const struct {
        QDateTime now;
        float minutes;
        const char* shown;
        qint64 secondsLeft;
    } cases[] = {
        {beforeSpring, 25 * 60, "12:00:00", 2 * 3600LL},
        {beforeSpring, 24 * 60, "11:00:00", 3600},
        {beforeSpring, 48 * 60, "11:00:00", 3600},
        {beforeSpring, 0, "10:00:00", 23 * 3600LL},
        {beforeAutumn, 25 * 60, "10:00:00", 25 * 3600LL},
        {beforeAutumn, 24 * 60 + 30, "9:30:00", 24 * 3600LL + 30 * 60LL},
        // Under a day: real time, wherever the shown time lies.
        {beforeSpring, 23 * 60 + 30, "10:30:00", 23 * 3600LL + 30 * 60LL},
        {QDateTime(QDate(2026, 3, 29), QTime(1, 45), prague), 30, "3:15:00", 30 * 60LL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.now.toString(Qt::ISODate).toStdString() + " + " + std::to_string(c.minutes) + " min");
        const float seconds = c.minutes * 60.0f;
        EXPECT_EQ(shownTime(c.now, seconds), QString::fromLatin1(c.shown));
        const QDateTime moment = nextChangeMoment(c.now, seconds);
        EXPECT_EQ(c.now.secsTo(moment), c.secondsLeft);
        // The countdown, which wraps at a day, tells the same time left.
        if (c.minutes >= 24 * 60 && c.secondsLeft < 86400) {
            EXPECT_EQ(QTime(0, 0).addSecs(int(c.secondsLeft)).toString(QStringLiteral("HH:mm:ss")),
                      countdownText(c.now, moment));
        }
    }
}

TEST(Schedule, IntervalsRoundToTheNearestMillisecond)
{
    const struct {
        const char* minutes;
        qint64 ms;
    } cases[] = {{"0.7", 42000}, {"0.007", 420}, {"1", 60000}, {"1500", 3600000}};
    for (const auto& c : cases) {
        const float seconds = static_cast<float>(intervalValue(QLatin1String(c.minutes)) * 60.0);
        EXPECT_EQ(tenFifteen.msecsTo(nextChangeMoment(tenFifteen, seconds)), c.ms) << c.minutes;
    }
}

TEST(Schedule, CountdownWrapsPastMidnight)
{
    const QDate day(2026, 3, 16);
    const auto at = [&](int h, int m, int s, int ms = 0) { return QDateTime(day, QTime(h, m, s, ms)); };
    const struct {
        QDateTime now;
        QDateTime due;
        const char* left;
    } cases[] = {
        {at(10, 15, 30), at(11, 15, 30), "01:00:00"},
        {at(11, 15, 29, 999), at(11, 15, 30), "00:00:01"},
        {at(23, 50, 0), at(0, 10, 0).addDays(1), "00:20:00"},
        {at(12, 0, 0), at(12, 0, 0).addDays(1), "00:00:00"},
        // One second past the change: almost a whole day left.
        {at(12, 0, 1), at(12, 0, 0), "23:59:59"},
        // Nothing due: the time left to midnight.
        {at(10, 0, 0), QDateTime(), "14:00:00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(countdownText(c.now, c.due), QString::fromLatin1(c.left)) << c.now.toString().toStdString();
}

TEST(Schedule, ClockAndDateTexts)
{
    EXPECT_EQ(clockText(QDateTime(QDate(2026, 1, 2), QTime(7, 5, 9))), QStringLiteral("07:05:09"));
    EXPECT_EQ(dateText(QDateTime(QDate(2026, 3, 16), QTime(1, 0)), czech), QStringLiteral("pondělí 16.3. 2026"));
    EXPECT_EQ(dateText(QDateTime(QDate(2026, 11, 1), QTime(1, 0)), QLocale(QLocale::English, QLocale::UnitedStates)),
              QStringLiteral("Sunday 1.11. 2026"));
}
