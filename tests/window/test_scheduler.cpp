// The tick: clock, date, countdown and the automatic change.
#include "WindowFixture.h"

#include "engine/Schedule.h"
#include "platform/qt/ThreadedBackgroundWork.h"
#include "ui/PreviewBox.h"

#include <QTimeZone>

class Scheduler : public WindowFixture {
protected:
    // Automatic changing every `interval` minutes over a two-picture collection.
    void startChanging(const QString& interval)
    {
        storeChanging(interval);
        start();
    }
    void storeChanging(const QString& interval)
    {
        const QString a = makePicture(QStringLiteral("a.png"), Qt::red, 11);
        const QString b = makePicture(QStringLiteral("b.png"), Qt::blue, 12);
        storeOption(QStringLiteral("kolekce"), writeCollection(QStringLiteral("k.tkl"), {a, b}));
        storeOption(QStringLiteral("run"), QStringLiteral("1"));
        storeOption(QStringLiteral("afterstart"), QStringLiteral("False"));
        storeOption(QStringLiteral("afterinterval"), QStringLiteral("True"));
        storeOption(QStringLiteral("interval"), interval);
    }
    // Ticks every `step` ms for the given span; returns the number of changes made.
    size_t runFor(qint64 milliseconds, qint64 step = 100)
    {
        const size_t before = wallpaper.calls.size();
        for (qint64 spent = 0; spent < milliseconds; spent += step)
            tick(step);
        return wallpaper.calls.size() - before;
    }
};

TEST_F(Scheduler, TheTickWritesClockDateAndCountdown)
{
    start();
    tick();
    EXPECT_EQ(text("Cas"), QStringLiteral("10:15:30"));
    EXPECT_EQ(text("Datum"), QStringLiteral("pondělí 16.3. 2026"));
    EXPECT_EQ(text("StatusCas"), QStringLiteral("0h 00m 00sec")) << "the first run changes after start only";
}

TEST_F(Scheduler, TheDateTurnsOverAtMidnight)
{
    clock.current = QDateTime(QDate(2026, 3, 16), QTime(23, 59, 59, 500));
    start();
    tick(0);
    EXPECT_EQ(text("Datum"), QStringLiteral("pondělí 16.3. 2026"));
    tick(400);
    EXPECT_EQ(text("Datum"), QStringLiteral("pondělí 16.3. 2026"));
    tick(200);
    EXPECT_EQ(text("Datum"), QStringLiteral("úterý 17.3. 2026"));
}

TEST_F(Scheduler, AChangeHappensAtTheDueSecondAndOnlyOnce)
{
    startChanging(QStringLiteral("1"));
    ASSERT_EQ(wallpaper.calls.size(), 1u) << "the start-up change";
    EXPECT_EQ(dueText(), QStringLiteral("10:16:30"));
    tick(0);
    EXPECT_EQ(text("StatusCas"), QStringLiteral("00:01:00"));
    EXPECT_EQ(runFor(59000), 0u);
    EXPECT_EQ(text("StatusCas"), QStringLiteral("00:00:01"));
    // The due second: ten ticks fall into it, one change.
    EXPECT_EQ(runFor(1000), 1u);
    EXPECT_EQ(dueText(), QStringLiteral("10:17:30"));
    EXPECT_EQ(runFor(60000), 1u);
}

TEST_F(Scheduler, AWholeDayIntervalDoesNotRepeatWithinTheSecond)
{
    startChanging(QStringLiteral("1440"));
    EXPECT_EQ(dueText(), QStringLiteral("10:15:30"));
    EXPECT_EQ(runFor(2000), 0u) << "the start-up change was made in that very second";
}

TEST_F(Scheduler, OverADayAcrossSummerTimeTheChangeComesAtTheShownTime)
{
    // The clocks skip from 02:00 to 03:00 on 29 March 2026.
    clock.current = QDateTime(QDate(2026, 3, 28), QTime(10, 0), QTimeZone("Europe/Prague"));
    startChanging(QStringLiteral("1500"));
    EXPECT_EQ(dueText(), QStringLiteral("12:00:00"));
    tick(0);
    EXPECT_EQ(text("StatusCas"), QStringLiteral("02:00:00"));
    EXPECT_EQ(runFor(2 * 3600000 - 1000, 1000), 0u);
    EXPECT_EQ(text("StatusCas"), QStringLiteral("00:00:01"));
    EXPECT_EQ(runFor(1000), 1u);
}

TEST_F(Scheduler, NoChangeWhileAPageIsOpenAndNoneMadeUpLater)
{
    startChanging(QStringLiteral("1"));
    click("Label6");
    // Opening the page reloaded the settings and so restarted the countdown.
    EXPECT_EQ(dueText(), QStringLiteral("10:16:30"));
    EXPECT_EQ(runFor(61000), 0u);
    EXPECT_EQ(text("StatusCas"), QStringLiteral("23:59:59"));
    control<QWidget>("nastaveni")->hide();
    EXPECT_EQ(runFor(5000), 0u);

    window->Label34_Click();
    EXPECT_EQ(runFor(61000), 1u) << "closing the page schedules afresh";
    control<QWidget>("editBox")->show();
    EXPECT_EQ(runFor(61000), 0u);
}

TEST_F(Scheduler, ChangeAfterStartOrChangingOffShowsNoCountdown)
{
    startChanging(QStringLiteral("1"));
    control<QRadioButton>("Option1")->setChecked(true);
    EXPECT_EQ(runFor(61000), 0u);
    EXPECT_EQ(text("StatusCas"), QStringLiteral("0h 00m 00sec"));
    control<QRadioButton>("Option3")->setChecked(true);
    control<QCheckBox>("Check2")->setChecked(false);
    window->ScheduleNextChange();
    EXPECT_EQ(runFor(61000), 0u);
    EXPECT_EQ(text("StatusCas"), QStringLiteral("0h 00m 00sec"));
}

TEST_F(Scheduler, AManualChangeRestartsTheCountdown)
{
    startChanging(QStringLiteral("1"));
    runFor(30000);
    click("changeNow");
    EXPECT_EQ(dueText(), QStringLiteral("10:17:00"));
    EXPECT_EQ(runFor(31000), 0u);
    EXPECT_EQ(runFor(30000), 1u);
}

TEST_F(Scheduler, TypingTheIntervalReschedulesAtEveryKeystroke)
{
    startChanging(QStringLiteral("60"));
    QLineEdit* field = control<QLineEdit>("Text1");
    field->clear();
    clock.advanceMs(2000);
    QTest::keyClicks(field, QStringLiteral("5"));
    EXPECT_EQ(dueText(), QStringLiteral("10:20:32"));
    clock.advanceMs(1000);
    QTest::keyClicks(field, QStringLiteral("0"));
    EXPECT_EQ(dueText(), QStringLiteral("11:05:33"));
}

TEST_F(Scheduler, AnIntervalTooLargeStopsAutomaticChanges)
{
    startChanging(QStringLiteral("1e40"));
    EXPECT_EQ(dueText(), QString());
    EXPECT_EQ(runFor(5000), 0u);
    tick(0);
    EXPECT_EQ(text("StatusCas"), QStringLiteral("13:44:25")) << "counting down to midnight";
}

TEST_F(Scheduler, AnOverdueChangeIsMadeOnceWhenTheProgramRunsAgain)
{
    startChanging(QStringLiteral("1"));
    // Suspended or stalled: the tick that comes next finds the due moment long past.
    for (const qint64 late : {5000LL, 3600000LL, 2 * 86400000LL}) {
        SCOPED_TRACE(late);
        clock.advanceMs(60000 + late);
        EXPECT_EQ(runFor(100), 1u);
        const QDateTime changedAt = clock.now();
        EXPECT_EQ(dueText(), changedAt.addSecs(60).time().toString(QStringLiteral("H:mm:ss")))
            << "the next one is scheduled from the late change";
        EXPECT_EQ(runFor(59900), 0u);
        EXPECT_EQ(runFor(100), 1u);
    }
}

TEST_F(Scheduler, AClockSetBackNeitherRepeatsNorStopsTheChanges)
{
    startChanging(QStringLiteral("60"));
    EXPECT_EQ(runFor(30LL * 60000, 1000), 0u);
    EXPECT_EQ(dueText(), QStringLiteral("11:15:30"));
    clock.advanceMs(-3600000);
    tick(0);
    EXPECT_EQ(text("Cas"), QStringLiteral("09:45:30"));
    // The half hour that was left is still left.
    EXPECT_EQ(dueText(), QStringLiteral("10:15:30"));
    EXPECT_EQ(text("StatusCas"), QStringLiteral("00:30:00"));
    EXPECT_EQ(runFor(30LL * 60000 - 1000, 1000), 0u);
    EXPECT_EQ(runFor(1000), 1u);
    EXPECT_EQ(dueText(), QStringLiteral("11:15:30"));
}

TEST_F(Scheduler, ASubSecondIntervalChangesOnEachDueTick)
{
    startChanging(QStringLiteral("0.01"));
    // 0.6 s: the sixth tick after each change.
    EXPECT_EQ(runFor(10000), 16u);
}

TEST_F(Scheduler, ADecimalCommaIsSavedReloadedAndUsed)
{
    startChanging(QStringLiteral("60"));
    click("Label6");
    QLineEdit* field = control<QLineEdit>("Text1");
    field->setText(QStringLiteral("0,05"));
    click("Label15");
    EXPECT_EQ(settings.read(QStringLiteral("tapetor"), QStringLiteral("options"), QStringLiteral("interval"), {}),
              QStringLiteral("0,05"));
    EXPECT_EQ(field->text(), QStringLiteral("0,05")) << "reloaded as itself, not as 60 minutes";
    EXPECT_EQ(dueText(), QStringLiteral("10:15:33"));
    EXPECT_EQ(runFor(3000), 1u);

    window.reset();
    start();
    EXPECT_EQ(control<QLineEdit>("Text1")->text(), QStringLiteral("0,05"));
    EXPECT_EQ(runFor(3000), 1u);
}

TEST_F(Scheduler, HiddenInTheTrayTheChangeStillComesAtItsMoment)
{
    startChanging(QStringLiteral("60"));
    ASSERT_FALSE(window->isVisible());
    EXPECT_FALSE(control<QTimer>("Timer1")->isActive()) << "nobody sees the texts the tick writes";
    // Only the clock moves here; whatever runs, runs from the window's events.
    const auto passMs = [this](qint64 ms) {
        const size_t before = wallpaper.calls.size();
        clock.passMs(ms);
        return wallpaper.calls.size() - before;
    };
    EXPECT_EQ(passMs(3600000 - 1), 0u);
    EXPECT_EQ(passMs(1), 1u);
    EXPECT_EQ(dueText(), QStringLiteral("12:15:30"));

    // Set back by half an hour: the hour that was left is still left.
    EXPECT_EQ(passMs(-30LL * 60000), 0u);
    EXPECT_EQ(dueText(), QStringLiteral("11:45:30"));
    EXPECT_EQ(passMs(3600000 - 1), 0u);
    EXPECT_EQ(passMs(1), 1u);

    // Suspended over three moments, or the clock set ahead: one change on resume.
    EXPECT_EQ(passMs(3LL * 3600000 + 5000), 1u);
    EXPECT_EQ(dueText(), QStringLiteral("15:45:35"));
    EXPECT_EQ(passMs(3600000 - 1), 0u);
    EXPECT_EQ(passMs(1), 1u);

    // A change that cannot be made is tried again at that time tomorrow.
    window->options().setCollection(QString());
    EXPECT_EQ(passMs(3600000), 0u);
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(passMs(86400000 - 1), 0u);
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(passMs(1), 0u);
    EXPECT_EQ(messages.shown.size(), 2u);
}

// Two full pictures are never held at once while nobody watches.
TEST_F(Scheduler, HiddenTheNextPictureIsDecodedOnceTheChangeHasLetItsPictureGo)
{
    ThreadedBackgroundWork beside;
    PlatformServices real = services();
    real.changes = &beside;
    storeChanging(QStringLiteral("60"));
    window = std::make_unique<frmConsole>(real, QString());
    window->Form_Load();
    beside.finish();
    ASSERT_FALSE(window->isVisible());
    Gate slowDesktop;
    beside.run(
        nullptr, [&slowDesktop] { slowDesktop.pass(); }, [] {});
    const int requests = decoder.requests;
    window->mnuchnw_Click();
    EXPECT_EQ(decoder.requests, requests + 1) << "the picture of the change itself";
    slowDesktop.open();
    beside.finish();
    EXPECT_EQ(decoder.requests, requests + 2) << "the next one once the desktop and the bitmap are done";
    window.reset();
}

TEST_F(Scheduler, HiddenThePictureIsLetGoAndDecodedAgainShortlyBeforeItsChange)
{
    startChanging(QStringLiteral("60"));
    ASSERT_FALSE(window->isVisible());
    const PreviewBox* box = control<PreviewBox>("nahled");
    EXPECT_TRUE(box->picture().isNull()) << "nobody sees it for an hour";
    EXPECT_EQ(text("Label27"), path("a.png"));
    EXPECT_EQ(text("tapetainfo"), QStringLiteral("11x30, 24 bitů"));

    decoder.hold = true;
    const int requests = decoder.requests;
    clock.passMs(3600000 - 20000 - 1);
    EXPECT_EQ(decoder.requests, requests);
    clock.passMs(1);
    EXPECT_EQ(decoder.requests, requests + 1) << "asked for twenty seconds before the change";
    decoder.answerHeld();
    EXPECT_EQ(box->picture().size(), QSize(11, 30)) << "kept for the change so near";
    clock.passMs(20000 - 1);
    EXPECT_EQ(wallpaper.calls.size(), 1u);
    clock.passMs(1);
    ASSERT_EQ(wallpaper.calls.size(), 2u);
    EXPECT_TRUE(wallpaper.calls.back().hadPicture);
    EXPECT_EQ(wallpaper.calls.back().pictureSize, QSize(11, 30));

    // The next entry's picture only brings its texts, then goes again.
    decoder.answerHeld();
    EXPECT_TRUE(box->picture().isNull());
    EXPECT_EQ(text("Label27"), path("b.png"));
    EXPECT_EQ(text("tapetainfo"), QStringLiteral("12x30, 24 bitů"));

    // A change from the tray menu has the picture decoded there and then.
    window->mnuchnw_Click();
    EXPECT_EQ(wallpaper.calls.size(), 2u);
    decoder.answerHeld();
    ASSERT_EQ(wallpaper.calls.size(), 3u);
    EXPECT_EQ(wallpaper.calls.back().pictureSize, QSize(12, 30));
    decoder.answerHeld();
    EXPECT_TRUE(box->picture().isNull());

    // Shown again, the picture comes back beside the window; the texts stay meanwhile.
    window->mnuShowApp_Click();
    EXPECT_TRUE(box->picture().isNull());
    EXPECT_EQ(text("Label27"), path("a.png"));
    EXPECT_EQ(text("tapetainfo"), QStringLiteral("11x30, 24 bitů"));
    decoder.answerHeld();
    EXPECT_EQ(box->picture().size(), QSize(11, 30));
    EXPECT_EQ(text("tapetainfo"), QStringLiteral("11x30, 24 bitů"));
}

TEST_F(Scheduler, APictureLetGoComesBackEvenWhenTheListNoLongerHoldsIt)
{
    startChanging(QStringLiteral("60"));
    decoder.hold = true;
    window->mnuShowApp_Click();
    decoder.answerHeld();
    // A cancelled "otevřít…" takes the chosen collection out of the list; the preview stays.
    dialogs.results.push_back(std::nullopt);
    click("Label5");
    ASSERT_EQ(listCount(), 0);
    click("Image7");
    const PreviewBox* box = control<PreviewBox>("nahled");
    ASSERT_TRUE(box->picture().isNull());
    window->mnuShowApp_Click();
    decoder.answerHeld();
    EXPECT_EQ(box->picture().size(), QSize(11, 30));
    EXPECT_EQ(text("Label27"), path("a.png"));
    EXPECT_EQ(text("tapetainfo"), QStringLiteral("11x30, 24 bitů"));
}

TEST_F(Scheduler, ShownAgainEveryTextIsCurrentAtOnceAndTheTickRuns)
{
    clock.current = QDateTime(QDate(2026, 3, 16), QTime(23, 50, 0));
    startChanging(QStringLiteral("60"));
    ASSERT_FALSE(window->isVisible());
    clock.passMs(25LL * 60000);

    window->mnuShowApp_Click();
    ASSERT_TRUE(window->isVisible());
    EXPECT_EQ(text("Cas"), QStringLiteral("00:15:00"));
    EXPECT_EQ(text("Datum"), QStringLiteral("úterý 17.3. 2026"));
    EXPECT_EQ(text("StatusCas"), QStringLiteral("00:35:00"));
    const QTimer* timer = control<QTimer>("Timer1");
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 100);

    for (const FakeAlarm* alarm : clock.alarms)
        EXPECT_FALSE(alarm->moment.isValid()) << "shown, the tick alone makes the change";

    window->close();
    EXPECT_FALSE(timer->isActive());
}

TEST_F(Scheduler, EveryLocalesLongestWeekdayFitsTheDateLine)
{
    // The longest names need the floor size; in a font wider than DejaVu (Verdana on
    // Windows) they are elided there, the whole date being the tooltip.
    const struct {
        QLocale locale;
        QDate date;
        bool wholeInAnyFont;
    } rows[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), QDate(2026, 12, 30), true},
        {QLocale(QLocale::German, QLocale::Germany), QDate(2026, 12, 24), true},
        {QLocale(QLocale::Czech, QLocale::Czechia), QDate(2026, 12, 31), true},
        {QLocale(QLocale::Russian, QLocale::Russia), QDate(2026, 12, 27), true},
        {QLocale(QLocale::Portuguese, QLocale::Portugal), QDate(2026, 12, 28), false},
        {QLocale(QLocale::Finnish, QLocale::Finland), QDate(2026, 12, 30), false},
    };
    for (const auto& row : rows) {
        clock.userLocale = row.locale;
        clock.current = QDateTime(row.date, QTime(12, 0));
        start();
        tick(0);
        const QLabel* line = label("Datum");
        const QString whole = dateText(clock.current, row.locale);
        SCOPED_TRACE(whole.toStdString());
        EXPECT_LE(line->fontMetrics().horizontalAdvance(line->text()), line->contentsRect().width());
        EXPECT_EQ(line->geometry(), QRect(302, 292, 106, 16));
        if (row.wholeInAnyFont || line->text() == whole) {
            EXPECT_EQ(line->text(), whole);
            EXPECT_TRUE(line->toolTip().isEmpty());
        } else {
            EXPECT_TRUE(line->text().endsWith(QChar(0x2026)) && whole.startsWith(line->text().chopped(1)));
            EXPECT_EQ(line->toolTip(), whole);
            EXPECT_EQ(line->font().pointSizeF(), 6.0);
        }
    }
}

TEST_F(Scheduler, ADateThatFitsKeepsTheFormsFont)
{
    clock.userLocale = QLocale(QLocale::German, QLocale::Germany);
    clock.current = QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59, 500));
    start();
    tick(0);
    EXPECT_LT(label("Datum")->font().pointSizeF(), window->font().pointSizeF()) << "Donnerstag 31.12. 2026";
    tick(600);
    EXPECT_EQ(text("Datum"), QStringLiteral("Freitag 1.1. 2027"));
    EXPECT_EQ(label("Datum")->font().pointSizeF(), window->font().pointSizeF());
}
