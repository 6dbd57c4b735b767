// A change that arrives while the list is being loaded, saved or thinned out: the
// list's entries are read, sorted and written beside the window, and message boxes open
// in the middle of putting them in, so a scheduler tick or the tray's "změnit tapetu
// ihned" can run meanwhile. It must neither apply a picture of a collection that is only
// half in the list nor change which entries the user marked for removal.
#include "WindowFixture.h"

#include "platform/qt/ThreadedBackgroundWork.h"

#include <QCoreApplication>

namespace {

const QString LimitMessage = QStringLiteral("Kolekce může obsahovat nejvýše 32767 tapet.\r"
                                            "Další tapety nebyly přidány.");

} // namespace

class Reentrancy : public WindowFixture {
protected:
    // A collection past the entry limit, so loading it opens a message box on the way;
    // its first entry in sorted order is a real picture 11 pixels wide.
    QString longCollection()
    {
        QStringList lines{makePicture(QStringLiteral("a.png"), Qt::red, 11)};
        for (int i = 0; i < 32770; ++i)
            lines << path(QStringLiteral("z%1.png").arg(i, 5, 10, QLatin1Char('0')));
        return writeCollection(QStringLiteral("dlouha.tkl"), lines);
    }
    // Runs `action` once, while the message box with `text` is open.
    void whenShown(const QString& text, std::function<void()> action)
    {
        messages.whileOpen = [this, text, action = std::move(action)]() mutable {
            if (action && messages.shown.back().text == text)
                std::exchange(action, nullptr)();
        };
    }
    // Lets the window run what was put off until its handler ended.
    static void returnToTheEventLoop() { QCoreApplication::processEvents(); }
    std::vector<int> appliedWidths() const
    {
        std::vector<int> widths;
        for (const auto& call : wallpaper.calls)
            widths.push_back(call.hadPicture ? call.pictureSize.width() : 0);
        return widths;
    }
};

TEST_F(Reentrancy, ATickDueWhileTheStartupLoadIsUnderWayChangesOnlyOnceItIsLoaded)
{
    storeOption(QStringLiteral("kolekce"), longCollection());
    storeOption(QStringLiteral("run"), QStringLiteral("1"));
    storeOption(QStringLiteral("afterinterval"), QStringLiteral("True"));
    storeOption(QStringLiteral("interval"), QStringLiteral("1"));
    create();
    whenShown(LimitMessage, [this] {
        // A minute passes while the message is open: the change is due.
        clock.advanceMs(60000);
        window->Timer1_Timer();
    });
    window->Form_Load();
    returnToTheEventLoop();

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(listCount(), 32767);
    // Every change applied a picture of the loaded collection, none the empty preview
    // of a list still waiting for its entries.
    ASSERT_EQ(wallpaper.calls.size(), 2u);
    for (const auto& call : wallpaper.calls)
        EXPECT_TRUE(call.hadPicture);
}

TEST_F(Reentrancy, ALaterStartHandedOverWhileTheStartupLoadIsUnderWayKeepsTheWindowShown)
{
    storeOption(QStringLiteral("kolekce"), longCollection());
    storeOption(QStringLiteral("run"), QStringLiteral("1"));
    create();
    whenShown(LimitMessage, [this] { EXPECT_TRUE(instance.handOver()); });
    window->Form_Load();
    returnToTheEventLoop();

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(text("statusMain"), QStringLiteral("je aktivní")) << "start-up would send the window to the tray";
    EXPECT_TRUE(window->isVisible()) << "the start asked for the window after it was shown";
}

TEST_F(Reentrancy, ATrayChangeWhileTheEditorGivesTheChosenCollectionBackAppliesThatCollection)
{
    storeOption(QStringLiteral("kolekce"), longCollection());
    start();
    // The editor shows a picture of its own, 77 pixels wide.
    click("Label4");
    dialogs.results.push_back(makePicture(QStringLiteral("jina.png"), Qt::blue, 77));
    click("Label24");
    setCurrentRow(0);
    ASSERT_EQ(text("tapetainfo"), QStringLiteral("77x30, 24 bitů"));
    wallpaper.calls.clear();
    messages.shown.clear();

    // Closing without saving reloads the chosen collection; the tray's change comes
    // while its limit message is open.
    whenShown(LimitMessage, [this] { menuItem("mnuchnw")->trigger(); });
    click("Label26");
    returnToTheEventLoop();

    EXPECT_EQ(listCount(), 32767);
    // The change applied the chosen collection's first picture, not the editor's.
    EXPECT_EQ(appliedWidths(), std::vector<int>{11});
    EXPECT_EQ(currentRow(), 1) << "the change moved on from the first entry";
}

TEST_F(Reentrancy, ATrayChangeDuringTheRemovalQuestionLeavesTheUsersMarks)
{
    storeOption(QStringLiteral("kolekce"),
                writeCollection(QStringLiteral("jedna.tkl"), {makePicture(QStringLiteral("jedna.png"), Qt::red)}));
    start();
    click("Label4");
    QStringList names;
    for (const char* name : {"a.png", "b.png", "c.png", "d.png", "e.png"}) {
        makePicture(QLatin1String(name), Qt::gray, 10 + int(names.size()));
        names << QLatin1String(name);
    }
    dialogs.results.push_back((QStringList{temp.path()} + names).join(QChar(0)));
    click("Label24");
    ASSERT_EQ(listCount(), 5);
    setCurrentRow(0);
    // The user marks b and d.
    list()->clearSelection();
    markRow(1, true);
    markRow(3, true);
    wallpaper.calls.clear();

    whenShown(RemoveQuestion, [this] { menuItem("mnuchnw")->trigger(); });
    messages.answers = {MsgAnswer::Yes};
    click("Label23");
    returnToTheEventLoop();

    EXPECT_EQ(entries(), (QStringList{path("a.png"), path("c.png"), path("e.png")}));
    EXPECT_EQ(text("pocetObr"), QStringLiteral("počet tapet: 3"));
    // The change still happened, once the removal was done: on the list being edited,
    // as a change from the tray does while the editor is open.
    ASSERT_EQ(wallpaper.calls.size(), 1u);
    EXPECT_EQ(wallpaper.calls[0].pictureSize.width(), 10);
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(Reentrancy, AChangeThatArrivesWhileTheListIsBusyIsMadeOnceNotLost)
{
    storeOption(QStringLiteral("kolekce"), longCollection());
    start();
    wallpaper.calls.clear();
    click("Label4");
    // Several requests during one reload become one change after it.
    whenShown(LimitMessage, [this] {
        menuItem("mnuchnw")->trigger();
        menuItem("mnuchnw")->trigger();
        window->changeNow_Click();
    });
    click("Label26");
    EXPECT_TRUE(wallpaper.calls.empty()) << "nothing is applied before the handler ends";
    returnToTheEventLoop();
    returnToTheEventLoop();
    EXPECT_EQ(appliedWidths(), std::vector<int>{11});
}

// The real worker, held up until the test lets it go: the list's job waits behind it.
TEST_F(Reentrancy, WhileALongAddIsSortedBesideTheWindowNothingElseTouchesTheList)
{
    ThreadedBackgroundWork beside;
    PlatformServices real = services();
    real.work = &beside;
    storeOption(QStringLiteral("kolekce"),
                writeCollection(QStringLiteral("jedna.tkl"), {makePicture(QStringLiteral("jedna.png"), Qt::red)}));
    window = std::make_unique<frmConsole>(real, QString());
    window->Form_Load();
    beside.finish();
    click("Label4");
    wallpaper.calls.clear();
    Gate gate;
    beside.run(
        nullptr, [&gate] { gate.pass(); }, [] {});
    QStringList names;
    for (int i = 99; i >= 0; --i)
        names << QStringLiteral("p%1.png").arg(i, 2, 10, QLatin1Char('0'));
    dialogs.results.push_back((QStringList{temp.path()} + names).join(QChar(0)));
    click("Label24");

    // "odebrat" would take rows out that the sorted list then brings back; "zavřít"
    // would empty the list the sort is to fill; a change would move on in a list not there.
    click("Label23");
    click("Label26");
    menuItem("mnuchnw")->trigger();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(wallpaper.calls.empty());
    gate.open();
    beside.finish();
    EXPECT_EQ(listCount(), 100);
    EXPECT_EQ(entryText(0), path(QStringLiteral("p00.png")));
    EXPECT_EQ(text("pocetObr"), QStringLiteral("počet tapet: 100"));
    returnToTheEventLoop();
    EXPECT_EQ(wallpaper.calls.size(), 1u) << "the change asked for meanwhile is made once the list is there";
    messages.answers = {MsgAnswer::No};
    click("Label23");
    EXPECT_EQ(messages.shown.size(), 1u) << "odebrat works again";

    // A change asked for while the collection is being saved comes once the save has
    // ended, here in a folder that is not there, so the editor stays open.
    Gate saving;
    beside.run(
        nullptr, [&saving] { saving.pass(); }, [] {});
    dialogs.results.push_back(path(QStringLiteral("chybi/nova.tkl")));
    click("Label25");
    menuItem("mnuchnw")->trigger();
    EXPECT_EQ(wallpaper.calls.size(), 1u);
    saving.open();
    beside.finish();
    returnToTheEventLoop();
    EXPECT_EQ(messages.shown.size(), 2u) << "the failed save is told";
    EXPECT_EQ(wallpaper.calls.size(), 2u);
    window.reset();
}
