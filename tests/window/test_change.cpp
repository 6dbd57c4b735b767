// The change flow, the start-up change and the preview.
#include "WindowFixture.h"

#include "app/FirstPicture.h"
#include "engine/ChangeSequence.h"
#include "platform/qt/ThreadedBackgroundWork.h"
#include "ui/PreviewBox.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

namespace {
// The program's last word on its changes (tapetor.changes), as a script reading its log sees it.
QString lastChangeWord;
void keepChangeWord(QtMsgType, const QMessageLogContext& context, const QString& message)
{
    if (QLatin1String(context.category) == QLatin1String("tapetor.changes"))
        lastChangeWord = message;
}

// Pictures told apart by their widths.
int width(const RecordingWallpaperSetter::Call& call)
{
    return call.pictureSize.width();
}
} // namespace

class ChangeFlow : public WindowFixture {
protected:
    // Three pictures whose sorted order (a, b, c) differs from the file's order.
    QString threePictures()
    {
        const QString c = makePicture(QStringLiteral("c.png"), Qt::blue, 30);
        const QString a = makePicture(QStringLiteral("A.png"), Qt::red, 10);
        const QString b = makePicture(QStringLiteral("b.png"), Qt::green, 20);
        return writeCollection(QStringLiteral("tri.tkl"), {c, a, b});
    }
    std::vector<int> appliedWidths() const
    {
        std::vector<int> widths;
        for (const auto& call : wallpaper.calls)
            widths.push_back(width(call));
        return widths;
    }
};

TEST_F(ChangeFlow, StartupLoadsTheCollectionAndChangesOnce)
{
    storeOption(QStringLiteral("kolekce"), threePictures());
    start();
    EXPECT_EQ(entries(), (QStringList{path("A.png"), path("b.png"), path("c.png")}));
    EXPECT_EQ(text("pocetObr"), QStringLiteral("počet tapet: 3"));
    EXPECT_EQ(window->collection().path(), path("tri.tkl"));
    // The second entry was made current and applied; the third is now prepared.
    EXPECT_EQ(appliedWidths(), (std::vector<int>{20}));
    EXPECT_EQ(currentRow(), 2);
    EXPECT_TRUE(window->isVisible()) << "automatic changing is off";
    EXPECT_EQ(wallpaper.calls[0].style, 1);
    EXPECT_TRUE(wallpaper.calls[0].bmpPath.endsWith(QLatin1String("/tapetor.bmp")));
    EXPECT_EQ(wallpaper.calls[0].bmpBytes, -1) << "the desktop has the picture before the bitmap is written";
    EXPECT_EQ(QFileInfo(wallpaper.calls[0].bmpPath).size(), 54 + 60 * 30) << "the bitmap follows";
}

// The real worker, held up while the desktop is slow: the window goes on, and a change
// asked for meanwhile is the one the desktop gets once it answers again.
TEST_F(ChangeFlow, TheDesktopGetsTheChangeBesideTheWindowAndOnlyTheNewestOfThoseWaiting)
{
    ThreadedBackgroundWork beside;
    PlatformServices real = services();
    real.changes = &beside;
    storeOption(QStringLiteral("kolekce"), threePictures());
    window = std::make_unique<frmConsole>(real, QString());
    Gate slowDesktop;
    beside.run(
        nullptr, [&slowDesktop] { slowDesktop.pass(); }, [] {});
    window->Form_Load();
    EXPECT_TRUE(wallpaper.calls.empty()) << "the start waited for the desktop";
    window->changeNow_Click();
    EXPECT_EQ(currentRow(), 0) << "each change moved on in the list all the same";
    slowDesktop.open();
    beside.finish();
    EXPECT_EQ(appliedWidths(), (std::vector<int>{30}));
    EXPECT_EQ(QFileInfo(wallpaper.calls[0].bmpPath).size(), 54 + 92 * 30) << "the bitmap is the newest picture's";
    // The window waits for its changes as it goes, so it goes before the worker does.
    window.reset();
}

TEST_F(ChangeFlow, ADesktopThatReadsTheBitmapGetsItWrittenFirst)
{
    wallpaper.readsFile = true;
    storeOption(QStringLiteral("kolekce"), threePictures());
    start();
    ASSERT_EQ(wallpaper.calls.size(), 1u);
    EXPECT_EQ(wallpaper.calls[0].bmpBytes, 54 + 60 * 30);
    EXPECT_TRUE(wallpaper.calls[0].hadPicture);
}

TEST_F(ChangeFlow, AChangeWhileItsPictureIsDecodedIsMadeWhenThePictureArrives)
{
    QLoggingCategory::setFilterRules(QStringLiteral("tapetor.changes.debug=true"));
    const QtMessageHandler previousHandler = qInstallMessageHandler(keepChangeWord);
    decoder.hold = true;
    storeOption(QStringLiteral("kolekce"), threePictures());
    start();
    EXPECT_EQ(appliedWidths(), (std::vector<int>{20}));
    EXPECT_EQ(lastChangeWord, QStringLiteral("idle"));
    ASSERT_TRUE(decoder.pending()) << "the next picture is still being decoded";
    EXPECT_EQ(text("Label27"), path("b.png")) << "the preview describes the picture it still holds";
    click("changeNow");
    EXPECT_EQ(appliedWidths(), (std::vector<int>{20})) << "the window goes on meanwhile";
    EXPECT_EQ(text("changeNow"), QStringLiteral("probíhá změna ...."));
    window->mnuchnw_Click();
    decoder.answerHeld();
    EXPECT_EQ(appliedWidths(), (std::vector<int>{20, 30}));
    EXPECT_EQ(currentRow(), 0) << "the advance goes on as ever";
    EXPECT_EQ(text("changeNow"), QStringLiteral("změnit tapetu ihned"));
    EXPECT_EQ(lastChangeWord, QStringLiteral("asked")) << "one change still waits";
    QCoreApplication::processEvents();
    decoder.answerHeld();
    EXPECT_EQ(appliedWidths(), (std::vector<int>{20, 30, 10})) << "the change asked for meanwhile follows";
    EXPECT_EQ(lastChangeWord, QStringLiteral("idle"));
    qInstallMessageHandler(previousHandler);
    QLoggingCategory::setFilterRules(QString());
    ASSERT_TRUE(decoder.pending());
    window->mnutile_Click();
    EXPECT_EQ(appliedWidths(), (std::vector<int>{20, 30, 10}));
    decoder.answerHeld();
    EXPECT_EQ(appliedWidths(), (std::vector<int>{20, 30, 10, 20})) << "the style menu waits alike";
}

TEST_F(ChangeFlow, QuickClicksThroughTheListShowTheLastPicture)
{
    storeOption(QStringLiteral("kolekce"), threePictures());
    start();
    decoder.hold = true;
    const int decodes = decoder.decodes;
    for (const int row : {0, 1, 0})
        setCurrentRow(row);
    EXPECT_EQ(text("Label27"), path("c.png")) << "path and measures change with the picture";
    EXPECT_EQ(text("tapetainfo"), QStringLiteral("30x30, 24 bitů"));
    decoder.answerHeld();
    EXPECT_EQ(decoder.decodes, decodes + 1);
    EXPECT_EQ(text("Label27"), path("A.png"));
    EXPECT_EQ(text("tapetainfo"), QStringLiteral("10x30, 24 bitů"));
    EXPECT_EQ(control<PreviewBox>("nahled")->picture().width(), 10);
}

TEST_F(ChangeFlow, SequentialOrderWalksTheSortedListAndWraps)
{
    storeOption(QStringLiteral("kolekce"), threePictures());
    start();
    for (int i = 0; i < 4; ++i)
        click("changeNow");
    EXPECT_EQ(appliedWidths(), (std::vector<int>{20, 30, 10, 20, 30}));
    EXPECT_EQ(markedRows(), QList<int>{currentRow()});
}

TEST_F(ChangeFlow, ADoubleClickChangesOnce)
{
    storeOption(QStringLiteral("kolekce"), threePictures());
    start();
    doubleClick("changeNow");
    EXPECT_EQ(appliedWidths(), (std::vector<int>{20, 30})) << "no picture is skipped";
    click("changeNow");
    EXPECT_EQ(appliedWidths(), (std::vector<int>{20, 30, 10})) << "a single click after it still counts";
}

TEST_F(ChangeFlow, ActiveChangingSendsTheWindowToTheTrayAfterTheFirstChange)
{
    storeOption(QStringLiteral("kolekce"), threePictures());
    storeOption(QStringLiteral("run"), QStringLiteral("1"));
    start();
    EXPECT_EQ(wallpaper.calls.size(), 1u);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(tray.present);
}

TEST_F(ChangeFlow, OnePictureCollectionChangesAtStartAndEveryTime)
{
    storeOption(QStringLiteral("kolekce"),
                writeCollection(QStringLiteral("one.tkl"), {makePicture(QStringLiteral("one.png"), Qt::red, 17)}));
    start();
    window->changeNow_Click();
    window->mnuchnw_Click();
    EXPECT_EQ(appliedWidths(), (std::vector<int>{17, 17, 17}));
    EXPECT_EQ(currentRow(), 0);
}

TEST_F(ChangeFlow, StartosChangesTwiceSavesAndEnds)
{
    decoder.hold = true;
    storeOption(QStringLiteral("kolekce"), threePictures());
    storeOption(QStringLiteral("run"), QStringLiteral("1"));
    const int savesBefore = settings.saves;
    start(QStringLiteral("/startos"));
    EXPECT_EQ(appliedWidths(), (std::vector<int>{20, 30}));
    EXPECT_EQ(decoder.decodes, 2) << "no picture is decoded that is never shown";
    EXPECT_EQ(decoder.preparedTaken, 2) << "the first decoded while the window is built, the second beside it";
    EXPECT_FALSE(decoder.pending());
    EXPECT_EQ(bitmaps.writes, 2);
    EXPECT_EQ(process.exitCodes.size(), 1u);
    EXPECT_FALSE(tray.present);
    // Every option and the program's description, in one save rather than one a key.
    EXPECT_EQ(settings.saves, savesBefore + 1);
    EXPECT_EQ(settings.values.size(), 14u);
    EXPECT_TRUE(settings.has(QStringLiteral("tapetor"), QStringLiteral("uss3"), QStringLiteral("build")));
    EXPECT_EQ(settings.read(QStringLiteral("tapetor"), QStringLiteral("options"), QStringLiteral("v_cascade"), {}),
              QStringLiteral("False"));
}

TEST_F(ChangeFlow, ALogonRunWhoseCollectionGoesBeforeTheWindowReadsItKeepsNoPreparedPicture)
{
    const QString collection = threePictures();
    storeOption(QStringLiteral("kolekce"), collection);
    storeOption(QStringLiteral("run"), QStringLiteral("1"));
    prepareFirstPicture(services(), QStringLiteral("/startos"));
    ASSERT_EQ(decoder.preparedLeft(), 2);
    ASSERT_TRUE(QFile::remove(collection));
    create(QStringLiteral("/startos")).Form_Load();
    EXPECT_TRUE(wallpaper.calls.empty());
    EXPECT_EQ(decoder.preparedLeft(), 0);
}

TEST_F(ChangeFlow, EachLogonGoesOnAfterThePictureLastShown)
{
    storeOption(QStringLiteral("kolekce"), threePictures());
    storeOption(QStringLiteral("run"), QStringLiteral("1"));
    for (const std::vector<int>& expected : {std::vector<int>{20, 30}, {10, 20}, {30, 10}}) {
        wallpaper.calls.clear();
        window.reset();
        start(QStringLiteral("/startos"));
        EXPECT_EQ(appliedWidths(), expected);
    }
    // Another collection's last picture says nothing about this one.
    shownStore.write({QStringLiteral("/elsewhere.tkl"), QByteArrayLiteral("b.png")});
    wallpaper.calls.clear();
    window.reset();
    start(QStringLiteral("/startos"));
    EXPECT_EQ(appliedWidths(), (std::vector<int>{20, 30}));
}

// Asked for by later starts (--previous, --next) while the window runs.
TEST_F(ChangeFlow, TheHistoryGoesBackInItsStylesThenForwardThenOnAlongTheCollection)
{
    storeOption(QStringLiteral("kolekce"), threePictures());
    start();
    window->changeNow_Click();
    window->changeNow_Click();
    window->options().setStyle(Options::Style::Tile, true);
    using Command = SingleInstance::Command;
    for (const Command command :
         {Command::Previous, Command::Previous, Command::Previous, Command::Next, Command::Next, Command::Next})
        EXPECT_TRUE(instance.handOver(command));
    EXPECT_EQ(appliedWidths(), (std::vector<int>{20, 30, 10, 30, 20, 30, 10, 20}));
    std::vector<int> styles;
    for (const auto& call : wallpaper.calls)
        styles.push_back(call.style);
    EXPECT_EQ(styles, (std::vector<int>{1, 1, 1, 1, 1, 1, 1, 2})) << "each in the style it had then";

    // A picture no longer there is skipped.
    ASSERT_TRUE(QFile::remove(path(QStringLiteral("c.png"))));
    wallpaper.calls.clear();
    instance.handOver(Command::Previous);
    instance.handOver(Command::Previous);
    EXPECT_EQ(appliedWidths(), (std::vector<int>{10, 20}));

    // Kept for the next start; a damaged file is an empty history.
    window.reset();
    start();
    wallpaper.calls.clear();
    instance.handOver(Command::Previous);
    EXPECT_EQ(wallpaper.calls.size(), 1u);
    window.reset();
    QFile damaged(temp.filePath(QStringLiteral("state/history.json")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly) && damaged.write("{\"pictures\": [{") > 0);
    damaged.close();
    start();
    wallpaper.calls.clear();
    instance.handOver(Command::Previous);
    EXPECT_TRUE(wallpaper.calls.empty());
}

TEST_F(ChangeFlow, ACommandRunByItselfChangesOrGoesBackThenEndsWithoutAWindow)
{
    storeOption(QStringLiteral("kolekce"), threePictures());
    const struct {
        const char* argument;
        int width; // 0: no change
        int status;
        int prepared; // decoded before the window existed, and taken by its change
    } steps[] = {{"--next", 20, 0, 1},    {"--next", 30, 0, 1}, {"--previous", 20, 0, 0},
                 {"--previous", 0, 1, 0}, {"--next", 30, 0, 0}, {"--next", 10, 0, 1}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.argument);
        window.reset();
        wallpaper.calls.clear();
        process.exitCodes.clear();
        decoder.prepares = decoder.preparedTaken = 0;
        start(QLatin1String(step.argument));
        EXPECT_EQ(appliedWidths(), step.width ? std::vector<int>{step.width} : std::vector<int>{});
        EXPECT_EQ(decoder.prepares, step.prepared);
        EXPECT_EQ(decoder.preparedTaken, step.prepared);
        EXPECT_EQ(process.exitCodes, std::vector<int>{step.status});
        EXPECT_EQ(window->exitStatus(), step.status);
        EXPECT_FALSE(window->isVisible());
        EXPECT_FALSE(tray.present);
    }
    EXPECT_TRUE(messages.shown.empty());
    window.reset();
    storeOption(QStringLiteral("kolekce"), QString());
    start(QStringLiteral("--next"));
    ASSERT_EQ(messages.shown.size(), 1u) << "no collection is chosen";
    EXPECT_EQ(window->exitStatus(), 1);
}

TEST_F(ChangeFlow, StartosAtRandomDecodesTheSecondPictureOnlyOncePicked)
{
    decoder.hold = true;
    storeOption(QStringLiteral("kolekce"), threePictures());
    storeOption(QStringLiteral("random"), QStringLiteral("1"));
    start(QStringLiteral("/startos"));
    EXPECT_EQ(wallpaper.calls.size(), 2u);
    EXPECT_EQ(decoder.prepares, 0) << "the pick depends on the moment of the first change";
    EXPECT_EQ(decoder.decodes, 2);
}

TEST_F(ChangeFlow, StartosWithoutACollectionKeepsTheWindow)
{
    start(QStringLiteral("/startos"));
    EXPECT_TRUE(wallpaper.calls.empty());
    EXPECT_TRUE(process.exitCodes.empty());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(ChangeFlow, RandomOrderPicksByTheTimeOfDayAndWrapsWithoutAPick)
{
    QStringList pictures;
    for (int i = 0; i < 7; ++i)
        pictures << makePicture(QStringLiteral("p%1.png").arg(i), Qt::gray, 10 + i);
    storeOption(QStringLiteral("kolekce"), writeCollection(QStringLiteral("r.tkl"), pictures));
    storeOption(QStringLiteral("random"), QStringLiteral("1"));
    start();
    int wraps = 0;
    int wrapsPastARandomPick = 0;
    for (int i = 0; i < 60; ++i) {
        SCOPED_TRACE("change " + std::to_string(i));
        clock.advanceMs(1370);
        const int before = currentRow();
        const int pick = randomInRange(6, 0, clock.now().time().msecsSinceStartOfDay() / 1000.0);
        window->changeNow_Click();
        ASSERT_EQ(width(wallpaper.calls.back()), 10 + before) << "the prepared picture is applied";
        if (before == 6) {
            ++wraps;
            wrapsPastARandomPick += pick != 0;
            ASSERT_EQ(currentRow(), 0) << "the last entry wraps to the first, with no random pick";
        } else {
            ASSERT_EQ(currentRow(), pick);
        }
        EXPECT_EQ(text("Label27"), pictures[currentRow()]);
    }
    EXPECT_GT(wrapsPastARandomPick, 0) << "the run must wrap where a random pick would have gone elsewhere";
    EXPECT_GT(wraps, 0);
}

TEST_F(ChangeFlow, NoCollectionShowsTheMessageAndRestoresTheIdleLabel)
{
    start();
    const QString before = dueText();
    clock.advanceMs(5000);
    click("changeNow");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Kolekce tapet nebyla vybrána.\rVyberte kolekci tapet."));
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("chyba kontroly nastavení"));
    EXPECT_EQ(messages.shown[0].style, 16);
    EXPECT_EQ(text("changeNow"), QStringLiteral("změnit tapetu ihned"));
    EXPECT_TRUE(control<QWidget>("changeNow")->isEnabled());
    EXPECT_EQ(colour("changeNow"), QColor(0, 0, 255));
    EXPECT_EQ(dueText(), before);
    EXPECT_TRUE(wallpaper.calls.empty());
}

TEST_F(ChangeFlow, TheChangeShowsItsBusyState)
{
    storeOption(QStringLiteral("kolekce"), threePictures());
    start();
    QString during;
    bool enabledDuring = true;
    wallpaper.onCall = [&] {
        during = text("changeNow");
        enabledDuring = control<QWidget>("changeNow")->isEnabled();
    };
    click("changeNow");
    EXPECT_EQ(during, QStringLiteral("probíhá změna ...."));
    EXPECT_FALSE(enabledDuring);
    EXPECT_EQ(text("changeNow"), QStringLiteral("změnit tapetu ihned"));
}

TEST_F(ChangeFlow, EachStyleOptionGivesItsStyleToTheChange)
{
    storeOption(QStringLiteral("kolekce"), threePictures());
    start();
    const struct {
        const char* option;
        int style;
    } cases[] = {{"Option4", 0}, {"Option5", 2}, {"Option2", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.option);
        click(c.option);
        ASSERT_TRUE(control<QRadioButton>(c.option)->isChecked());
        const size_t before = wallpaper.calls.size();
        click("changeNow");
        ASSERT_EQ(wallpaper.calls.size(), before + 1) << "one change, in one style";
        EXPECT_EQ(wallpaper.calls.back().style, c.style);
    }
}

TEST_F(ChangeFlow, StyleMenuAppliesOnceAndChangesNothingElse)
{
    storeOption(QStringLiteral("kolekce"), threePictures());
    start();
    const int current = currentRow();
    const int writes = settings.writes;
    const QString next = dueText();
    clock.advanceMs(3000);
    menuItem("mnutile")->trigger();
    menuItem("mnuCenter")->trigger();
    ASSERT_EQ(wallpaper.calls.size(), 3u);
    EXPECT_EQ(wallpaper.calls[1].style, 2);
    EXPECT_EQ(wallpaper.calls[2].style, 0);
    EXPECT_EQ(width(wallpaper.calls[1]), 30) << "the prepared picture is applied";
    EXPECT_EQ(currentRow(), current);
    EXPECT_EQ(settings.writes, writes);
    EXPECT_EQ(dueText(), next);
    EXPECT_TRUE(control<QRadioButton>("Option2")->isChecked());
    click("changeNow");
    EXPECT_EQ(wallpaper.calls.back().style, 1) << "the next change uses the settings page's style";
}

TEST_F(ChangeFlow, AMissingPictureShowsTheErrorPicture)
{
    const QString gone = path("gone.png");
    storeOption(QStringLiteral("kolekce"),
                writeCollection(QStringLiteral("g.tkl"), {makePicture(QStringLiteral("a.png"), Qt::red, 12), gone}));
    start();
    // The missing picture was current and applied; the error picture stood in.
    EXPECT_EQ(text("Label27"), path("a.png")) << "the first entry is prepared next";
    window->changeNow_Click();
    EXPECT_EQ(text("Label27"), gone);
    EXPECT_EQ(text("tapetainfo"), QStringLiteral("320x240, 24 bitů"));
    window->changeNow_Click();
    EXPECT_EQ(wallpaper.calls.back().pictureSize, QSize(320, 240));
}

TEST_F(ChangeFlow, AMissingCollectionFileIsReported)
{
    storeOption(QStringLiteral("kolekce"), path("none.tkl"));
    start();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Kolekce tapet nebyla nalezena."));
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("Chyba"));
    EXPECT_EQ(messages.shown[0].style, 16);
    EXPECT_TRUE(entries().isEmpty());
    EXPECT_TRUE(wallpaper.calls.empty());
}

TEST_F(ChangeFlow, ClearingMarksMovesNothing)
{
    storeOption(QStringLiteral("kolekce"), threePictures());
    start();
    list()->selectAll();
    const QString preview = text("Label27");
    int last = -1;
    window->ListBoxSelectRange(list(), false, 0, last);
    EXPECT_EQ(last, 2);
    EXPECT_TRUE(markedRows().isEmpty());
    EXPECT_EQ(currentRow(), 2);
    EXPECT_EQ(text("Label27"), preview);
}

TEST_F(ChangeFlow, ACollectionPastTheLimitLoadsItsFirst32767Entries)
{
    QStringList lines;
    for (int i = 0; i < 32770; ++i)
        lines << QStringLiteral("/p/%1.png").arg(i, 5, 10, QLatin1Char('0'));
    storeOption(QStringLiteral("kolekce"), writeCollection(QStringLiteral("big.tkl"), lines));
    start();
    EXPECT_EQ(listCount(), 32767);
    EXPECT_EQ(text("pocetObr"), QStringLiteral("počet tapet: 32767"));
    EXPECT_EQ(entries().first(), QStringLiteral("/p/00000.png"));
    EXPECT_EQ(entries().last(), QStringLiteral("/p/32766.png"));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].style, 16);
    EXPECT_TRUE(messages.shown[0].text.contains(QLatin1String("32767")));
}

TEST_F(ChangeFlow, TooltipsShowTheCurrentEntryAndTheFullPath)
{
    storeOption(QStringLiteral("kolekce"), threePictures());
    start();
    QTest::mouseMove(list()->viewport(), QPoint(5, 5));
    window->kolekce_MouseMove();
    EXPECT_EQ(list()->toolTip(), path("c.png")) << "the current entry, wherever the pointer is";
    window->Label27_MouseMove();
    EXPECT_EQ(control<QWidget>("Label27")->toolTip(), path("c.png"));
}

TEST_F(ChangeFlow, AClickOnThePreviewOpensTheStyleMenu)
{
    storeOption(QStringLiteral("kolekce"), threePictures());
    start();
    click("nahled");
    QMenu* styles = control<QMenu>("mnuctx004");
    EXPECT_TRUE(styles->isVisible());
    styles->close();
    EXPECT_EQ(wallpaper.calls.size(), 1u) << "closing the menu without a choice changes nothing";
}
