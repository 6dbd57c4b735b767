// Start-up, the stored options, the logon entry and the ways the program ends.
#include "WindowFixture.h"

#include "app/CommandLine.h"
#include "app/SingleStart.h"
#include "platform/qt/ThreadedBackgroundWork.h"

namespace {
const QString App = QStringLiteral("tapetor");
const QString OptionsSection = QStringLiteral("options");
} // namespace

class StartupSettings : public WindowFixture {
protected:
    QString stored(const char* key) const
    {
        return settings.read(App, OptionsSection, QLatin1String(key), QStringLiteral("<absent>"));
    }
    bool checked(const char* name) const { return control<QAbstractButton>(name)->isChecked(); }
};

TEST_F(StartupSettings, FirstRunShowsTheInitialState)
{
    start();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(text("Text1"), QStringLiteral("60"));
    EXPECT_EQ(text("Label31"), QStringLiteral("<kolekce není vybrána>"));
    EXPECT_EQ(text("statusMain"), QStringLiteral("není aktivní"));
    EXPECT_EQ(colour("statusMain"), QColor(255, 0, 0));
    EXPECT_TRUE(checked("Option1"));
    EXPECT_TRUE(checked("Option2"));
    for (const char* name : {"Option3", "Option4", "Option5", "Check1", "Check2", "Check3"})
        EXPECT_FALSE(checked(name)) << name;
    for (const char* name : {"about", "nastaveni", "editBox"})
        EXPECT_FALSE(visible(name)) << name;
    EXPECT_EQ(tray.addCalls, 1);
    EXPECT_EQ(tray.tip, QStringLiteral("tapetor"));
    EXPECT_FALSE(tray.icon.isNull());
    EXPECT_TRUE(wallpaper.calls.empty());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(process.exitCodes.empty());
}

TEST_F(StartupSettings, SaveThenLoadReproducesEveryControl)
{
    start();
    control<QCheckBox>("Check1")->setChecked(true);
    control<QRadioButton>("Option3")->setChecked(true);
    control<QRadioButton>("Option5")->setChecked(true);
    control<QCheckBox>("Check3")->setChecked(true);
    control<QLineEdit>("Text1")->setText(QStringLiteral("1.5"));
    window->options().setCollection(QStringLiteral("/kolekce/moje.tkl"));
    window->SaveSettings();

    EXPECT_EQ(stored("kolekce"), QStringLiteral("/kolekce/moje.tkl"));
    EXPECT_EQ(stored("startup"), QStringLiteral("1"));
    EXPECT_EQ(stored("run"), QStringLiteral("1"));
    EXPECT_EQ(stored("interval"), QStringLiteral("1.5"));
    EXPECT_EQ(stored("afterstart"), QStringLiteral("False"));
    EXPECT_EQ(stored("afterinterval"), QStringLiteral("True"));
    EXPECT_EQ(stored("random"), QStringLiteral("1"));
    EXPECT_EQ(stored("v_stretch"), QStringLiteral("False"));
    EXPECT_EQ(stored("v_center"), QStringLiteral("False"));
    EXPECT_EQ(stored("v_cascade"), QStringLiteral("True"));
    EXPECT_EQ(settings.read(App, QStringLiteral("uss3"), QStringLiteral("path"), {}), location.dir);
    EXPECT_EQ(settings.read(App, QStringLiteral("uss3"), QStringLiteral("major"), {}), QStringLiteral("3"));
    EXPECT_EQ(settings.read(App, QStringLiteral("uss3"), QStringLiteral("minor"), {}), QStringLiteral("1"));
    EXPECT_EQ(settings.read(App, QStringLiteral("uss3"), QStringLiteral("build"), {}), QStringLiteral("3"));

    window.reset();
    // The stored collection does not exist; its message is the only one.
    messages.shown.clear();
    start();
    EXPECT_TRUE(checked("Check1"));
    EXPECT_TRUE(checked("Check2"));
    EXPECT_TRUE(checked("Option3"));
    EXPECT_FALSE(checked("Option1"));
    EXPECT_TRUE(checked("Option5"));
    EXPECT_FALSE(checked("Option2"));
    EXPECT_TRUE(checked("Check3"));
    EXPECT_EQ(text("Text1"), QStringLiteral("1.5"));
    EXPECT_EQ(text("Label31"), QStringLiteral("/kolekce/moje.tkl"));
    EXPECT_EQ(text("statusMain"), QStringLiteral("je aktivní"));
    EXPECT_EQ(colour("statusMain"), QColor(0, 128, 0));
}

TEST_F(StartupSettings, LoadingFollowsTheOrderAndTheRepairs)
{
    storeOption(QStringLiteral("startup"), QStringLiteral("1"));
    storeOption(QStringLiteral("run"), QStringLiteral("0"));
    storeOption(QStringLiteral("afterstart"), QStringLiteral("False"));
    storeOption(QStringLiteral("afterinterval"), QStringLiteral("false"));
    storeOption(QStringLiteral("random"), QStringLiteral("abc"));
    storeOption(QStringLiteral("interval"), QStringLiteral("00"));
    storeOption(QStringLiteral("kolekce"), QStringLiteral("<kolekce není vybrána>"));
    start();
    // "startup" checks both boxes, then "run" unchecks both.
    EXPECT_FALSE(checked("Check1"));
    EXPECT_FALSE(checked("Check2"));
    EXPECT_FALSE(checked("Option1"));
    EXPECT_FALSE(checked("Option3"));
    EXPECT_FALSE(checked("Check3"));
    EXPECT_EQ(text("Text1"), QStringLiteral("60"));
    EXPECT_EQ(stored("interval"), QStringLiteral("00")) << "the store keeps its text until the next save";
    EXPECT_TRUE(messages.shown.empty()) << "the placeholder means no collection";
    EXPECT_TRUE(wallpaper.calls.empty());

    for (const char* interval : {"0", "minut", ""}) {
        storeOption(QStringLiteral("interval"), QLatin1String(interval));
        window->LoadSettings();
        EXPECT_EQ(text("Text1"), QStringLiteral("60")) << interval;
    }
    storeOption(QStringLiteral("interval"), QStringLiteral("15 minut"));
    window->LoadSettings();
    EXPECT_EQ(text("Text1"), QStringLiteral("15 minut"));
}

TEST_F(StartupSettings, TheLogonEntryFollowsTheOptions)
{
    start();
    control<QCheckBox>("Check1")->setChecked(true);
    window->SaveSettings();
    ASSERT_TRUE(logon.entry.has_value());
    EXPECT_EQ(logon.entry->first, location.programPath());
    EXPECT_EQ(logon.entry->second, QStringLiteral("/startos"));

    control<QRadioButton>("Option3")->setChecked(true);
    window->SaveSettings();
    ASSERT_TRUE(logon.entry.has_value());
    EXPECT_EQ(logon.entry->second, QString());

    control<QCheckBox>("Check1")->setChecked(false);
    window->SaveSettings();
    EXPECT_FALSE(logon.entry.has_value());

    // With no mode selected the entry is left as it is.
    logon.entry = std::make_pair(QStringLiteral("/old"), QStringLiteral("/startos"));
    control<QCheckBox>("Check1")->setChecked(true);
    control<QRadioButton>("Option3")->setChecked(false);
    window->SaveSettings();
    EXPECT_EQ(logon.entry->first, QStringLiteral("/old"));

    // A place that cannot be opened stops the update, not the save.
    logon.openable = false;
    control<QRadioButton>("Option1")->setChecked(true);
    window->options().setCollection(QStringLiteral("/x.tkl"));
    window->SaveSettings();
    EXPECT_EQ(stored("kolekce"), QStringLiteral("/x.tkl"));
}

TEST_F(StartupSettings, UninstallRemovesEverythingAndEndsWithoutSaving)
{
    storeOption(QStringLiteral("run"), QStringLiteral("1"));
    settings.write(App, QStringLiteral("uss3"), QStringLiteral("path"), QStringLiteral("/x"));
    settings.write(QStringLiteral("Orbenta_UpdateService"), OptionsSection, QStringLiteral("path"),
                   QStringLiteral("/orb/"));
    logon.entry = std::make_pair(QStringLiteral("/x/tapetor"), QString());
    start(QStringLiteral("/uninstall"));

    EXPECT_FALSE(settings.hasApp(App));
    EXPECT_TRUE(settings.hasApp(QStringLiteral("Orbenta_UpdateService")));
    EXPECT_FALSE(logon.entry.has_value());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              QStringLiteral("Aplikace tapetor provedla příkaz pro odinstalování.\r"
                             "Klikněte na OK a pokračujte v odinstalaci aplikace."));
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("tapetor"));
    EXPECT_EQ(messages.shown[0].style, 64);
    EXPECT_EQ(process.exitCodes.size(), 1u);
    EXPECT_TRUE(window->hasEnded());
    EXPECT_FALSE(tray.present);
    // Closing the ended window must not write the options back.
    window->close();
    EXPECT_FALSE(settings.hasApp(App));
}

TEST_F(StartupSettings, UninstallSaysWhatStayedAndEndsAllTheSame)
{
    const QString settingsLine
        = QStringLiteral("\rNepodařilo se odstranit volby aplikace: /fake/config/tapetor/tapetor.ini");
    const QString entryLine = QStringLiteral(
        "\rNepodařilo se odstranit položku pro automatické spuštění: /fake/config/autostart/tapetor.desktop");
    struct Case {
        const char* name;
        bool settingsFail, entryFails, entryOpens;
        QString stayed;
    };
    for (const Case& c :
         {Case{"settings fail", true, false, true, settingsLine}, Case{"entry fails", false, true, true, entryLine},
          Case{"entry cannot be opened", false, false, false, entryLine},
          Case{"both", true, false, false, settingsLine + entryLine}}) {
        settings.failDelete = c.settingsFail;
        logon.failRemove = c.entryFails;
        logon.openable = c.entryOpens;
        storeOption(QStringLiteral("run"), QStringLiteral("1"));
        logon.entry = std::make_pair(QStringLiteral("/x/tapetor"), QString());
        messages.shown.clear();
        process.exitCodes.clear();
        start(QStringLiteral("/uninstall"));

        EXPECT_EQ(settings.hasApp(App), c.settingsFail) << c.name;
        ASSERT_EQ(messages.shown.size(), 1u) << c.name;
        EXPECT_EQ(messages.shown[0].text,
                  QStringLiteral("Aplikace tapetor provedla příkaz pro odinstalování jen zčásti.") + c.stayed
                      + QStringLiteral("\rKlikněte na OK a pokračujte v odinstalaci aplikace."))
            << c.name;
        EXPECT_EQ(messages.shown[0].title, QStringLiteral("tapetor")) << c.name;
        EXPECT_EQ(messages.shown[0].style, 48) << c.name;
        EXPECT_EQ(process.exitCodes, std::vector<int>{0}) << c.name;
        EXPECT_TRUE(window->hasEnded()) << c.name;
        EXPECT_FALSE(tray.present) << c.name;
        window.reset();
    }
}

TEST_F(StartupSettings, OtherArgumentsMeanANormalStart)
{
    const QString collection = writeCollection(QStringLiteral("k.tkl"),
                                               {makePicture(QStringLiteral("a.png"), Qt::red),
                                                makePicture(QStringLiteral("b.png"), Qt::blue)});
    for (const char* argument : {"/UNINSTALL", "/startos now", "/uninstallx", "/Startos"}) {
        storeOption(QStringLiteral("run"), QStringLiteral("1"));
        storeOption(QStringLiteral("kolekce"), collection);
        wallpaper.calls.clear();
        start(QLatin1String(argument));
        EXPECT_TRUE(settings.hasApp(App)) << argument;
        EXPECT_TRUE(process.exitCodes.empty()) << argument;
        // The one start-up change, then the tray: "/startos" would have changed twice.
        EXPECT_EQ(wallpaper.calls.size(), 1u) << argument;
        EXPECT_FALSE(window->isVisible()) << argument;
        EXPECT_TRUE(tray.present) << argument;
        window.reset();
    }
}

TEST(CommandLine, HelpVersionAndUnknownSwitchesAreAnsweredOtherTextsStart)
{
    const struct {
        QStringList arguments;
        int status; // -1: a start of the program
        const char* output;
        const char* error;
    } cases[] = {
        {{QStringLiteral("--help")},
         0,
         "Usage: tapetor [/startos | /uninstall | --next | --previous | --help | --version]\n",
         ""},
        {{QStringLiteral("--version")}, 0, "tapetor 1.2.3\n", ""},
        {{QStringLiteral("--nexxt")}, 2, "", "tapetor: unknown switch '--nexxt'\nUsage: tapetor"},
        {{QStringLiteral("/startos"), QStringLiteral("--help")}, 2, "", "unknown switch '--help'"},
        {{QStringLiteral("/startos")}, -1, "", ""},
        {{QStringLiteral("--next")}, -1, "", ""},
        {{QStringLiteral("--previous")}, -1, "", ""},
        {{QStringLiteral("--next"), QStringLiteral("--previous")}, 2, "", "'--next' takes nothing else"},
        {{QStringLiteral("-help")}, -1, "", ""},
        {{}, -1, "", ""},
    };
    for (const auto& c : cases) {
        const std::optional<CommandLineAnswer> answer = answerCommandLine(c.arguments, QStringLiteral("1.2.3"));
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        ASSERT_EQ(answer.has_value(), c.status >= 0);
        if (!answer)
            continue;
        EXPECT_EQ(answer->status, c.status);
        const QString output = QString::fromLatin1(c.output);
        EXPECT_EQ(answer->standardOutput.left(output.size()), output);
        EXPECT_EQ(answer->standardOutput.isEmpty(), output.isEmpty());
        EXPECT_TRUE(answer->standardError.contains(QLatin1String(c.error)));
        EXPECT_EQ(answer->standardError.isEmpty(), *c.error == 0);
    }
}

TEST_F(StartupSettings, OnlyANormalStartHandsOverToTheRunningCopy)
{
    using Claim = SingleInstance::Claim;
    instance.claimed = Claim::HandedOver;
    EXPECT_EQ(handOverToRunningCopy(instance, messages, QStringLiteral("/startos")), std::nullopt);
    EXPECT_EQ(handOverToRunningCopy(instance, messages, QStringLiteral("/uninstall")), std::nullopt);
    EXPECT_EQ(instance.claims, 0) << "the two switches neither hand over nor keep the place";
    for (const char* argument : {"", "/UNINSTALL", "/startos now"})
        EXPECT_EQ(handOverToRunningCopy(instance, messages, QLatin1String(argument)), 0) << argument;
    EXPECT_TRUE(messages.shown.empty());
    instance.claimed = Claim::NoAnswer;
    EXPECT_EQ(handOverToRunningCopy(instance, messages, {}), 1) << "a copy that holds the place but does not answer";
    ASSERT_EQ(messages.shown.size(), 1u) << "and the user is told";
    EXPECT_EQ(messages.shown[0].text,
              QStringLiteral("Aplikace tapetor je už spuštěna, ale neodpovídá.\r"
                             "Zkuste ji spustit znovu za chvíli."));
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("tapetor"));
    EXPECT_EQ(messages.shown[0].style, 48);
    for (const Claim runs : {Claim::First, Claim::Unavailable}) {
        instance.claimed = runs;
        EXPECT_EQ(handOverToRunningCopy(instance, messages, {}), std::nullopt);
    }
    EXPECT_FALSE(instance.left);
    // A command hands itself over; run by itself, it keeps no place to be handed to.
    instance.claimed = Claim::HandedOver;
    EXPECT_EQ(handOverToRunningCopy(instance, messages, QStringLiteral("--previous")), 0);
    EXPECT_EQ(instance.claimedFor, SingleInstance::Command::Previous);
    instance.claimed = Claim::First;
    EXPECT_EQ(handOverToRunningCopy(instance, messages, QStringLiteral("--next")), std::nullopt);
    EXPECT_EQ(instance.claimedFor, SingleInstance::Command::Next);
    EXPECT_TRUE(instance.left);
}

TEST_F(StartupSettings, ALogonRunThatStaysKeepsTheOneCopyRule)
{
    using Claim = SingleInstance::Claim;
    const std::pair<Claim, std::optional<int>> cases[] = {{Claim::First, std::nullopt},
                                                          {Claim::Unavailable, std::nullopt},
                                                          {Claim::HandedOver, 0},
                                                          {Claim::NoAnswer, 1}};
    for (const auto& [claimed, status] : cases) {
        instance.claimed = claimed;
        EXPECT_EQ(stayAfterLogon(instance, messages, QStringLiteral("/startos")), status) << static_cast<int>(claimed);
    }
    const int claims = instance.claims;
    for (const char* argument : {"", "/uninstall"})
        EXPECT_EQ(stayAfterLogon(instance, messages, QLatin1String(argument)), std::nullopt) << argument;
    EXPECT_EQ(instance.claims, claims) << "a plain start has claimed already; /uninstall never does";
}

// A later start asks the running copy within a second, and a camera photo takes longer.
TEST_F(StartupSettings, APlainStartAnswersALaterStartBeforeItsCollectionIsIn)
{
    ThreadedBackgroundWork beside;
    PlatformServices real = services();
    real.work = &beside;
    storeOption(QStringLiteral("kolekce"),
                writeCollection(QStringLiteral("jedna.tkl"), {makePicture(QStringLiteral("jedna.png"), Qt::red)}));
    storeOption(QStringLiteral("run"), QStringLiteral("1"));
    window = std::make_unique<frmConsole>(real, QString());
    window->Form_Load();
    EXPECT_EQ(listCount(), 0) << "back in the event loop while the collection is read";
    EXPECT_TRUE(window->instance_HandOver());
    beside.finish();
    EXPECT_EQ(listCount(), 1);
    EXPECT_EQ(wallpaper.calls.size(), 1u);
    EXPECT_TRUE(window->isVisible()) << "the window the later start asked for stays";
    window.reset();
}

TEST_F(StartupSettings, ExitAsksAboutAnUnsavedCollection)
{
    start();
    window->collection().setEdited(true);
    messages.answers = {7};
    window->mnuc1_end_Click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              QStringLiteral("Kolekce tapet byla změněna, ale nebyla uložena.\rChcete přesto pokračovat?"));
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("Kolekce není uložena"));
    EXPECT_EQ(messages.shown[0].style, 36);
    EXPECT_TRUE(process.exitCodes.empty());
    EXPECT_TRUE(window->collection().edited());
    EXPECT_TRUE(tray.present);
    EXPECT_FALSE(settings.hasApp(App));

    messages.answers = {6};
    menuItem("mnu_endapp")->trigger();
    EXPECT_EQ(messages.shown.size(), 2u);
    EXPECT_FALSE(window->collection().edited());
    EXPECT_TRUE(settings.hasApp(App)) << "the close saves the options";
    EXPECT_FALSE(tray.present);
    EXPECT_EQ(process.exitCodes.size(), 1u);
}

TEST_F(StartupSettings, CloseSavesAndHidesButKeepsRunning)
{
    start();
    control<QLineEdit>("Text1")->setText(QStringLiteral("5"));
    EXPECT_FALSE(window->close());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(stored("interval"), QStringLiteral("5"));
    EXPECT_TRUE(process.exitCodes.empty());
    EXPECT_TRUE(tray.present);
}

TEST_F(StartupSettings, WithoutATrayTheWindowStaysReachable)
{
    tray.available = false;
    start();
    window->close();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isMinimized());
    click("Image7");
    EXPECT_TRUE(window->isVisible());
}

TEST_F(StartupSettings, AFailedSaveIsReportedOnce)
{
    start();
    settings.failWrites = true;
    window->close();
    window->close();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].style, 16);
    EXPECT_TRUE(process.exitCodes.empty());
}

TEST_F(StartupSettings, OneKeyThatCannotBeWrittenIsReportedAndTheOthersAreStillWritten)
{
    // The first key and the last one the save writes.
    for (const char* key : {"kolekce", "v_cascade"}) {
        SCOPED_TRACE(key);
        settings.values.clear();
        messages.shown.clear();
        settings.failKey = App + QLatin1Char('/') + OptionsSection + QLatin1Char('/') + QLatin1String(key);
        start();
        control<QLineEdit>("Text1")->setText(QStringLiteral("7"));
        window->close();
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_TRUE(messages.shown[0].text.startsWith(QStringLiteral("Nastavení aplikace se nepodařilo uložit.")));
        const bool lastFails = QLatin1String(key) == QLatin1String("v_cascade");
        EXPECT_EQ(stored("kolekce"), lastFails ? QStringLiteral("<kolekce není vybrána>") : QStringLiteral("<absent>"));
        EXPECT_EQ(stored("interval"), QStringLiteral("7"));
        EXPECT_EQ(stored("v_cascade"), lastFails ? QStringLiteral("<absent>") : QStringLiteral("False"));
        window.reset();
    }
}

// The real worker, held up until the test lets it go: the save waits behind it.
TEST_F(StartupSettings, TheSaveRunsBesideTheWindowAndEndsBeforeTheProcess)
{
    ThreadedBackgroundWork beside;
    PlatformServices real = services();
    real.work = &beside;
    window = std::make_unique<frmConsole>(real, QString());
    window->Form_Load();
    Gate gate;
    beside.run(
        nullptr, [&gate] { gate.pass(); }, [] {});
    settings.failKey = App + QLatin1Char('/') + OptionsSection + QLatin1String("/kolekce");
    control<QLineEdit>("Text1")->setText(QStringLiteral("7"));
    window->close();
    EXPECT_EQ(stored("interval"), QStringLiteral("<absent>")) << "the window does not wait for the disk";
    EXPECT_TRUE(messages.shown.empty());
    click("Label6");
    EXPECT_EQ(text("Text1"), QStringLiteral("7")) << "the page shows the save still on its way";
    gate.open();
    window->mnuc1_end_Click();
    EXPECT_EQ(stored("interval"), QStringLiteral("7"));
    EXPECT_EQ(messages.shown.size(), 1u) << "the failure is told before the process ends";
    EXPECT_EQ(process.exitCodes.size(), 1u);
    window.reset();
}

TEST_F(StartupSettings, ALogoffSavesAndLetsTheWindowClose)
{
    start();
    control<QLineEdit>("Text1")->setText(QStringLiteral("7"));
    window->sessionEnding();
    EXPECT_EQ(stored("interval"), QStringLiteral("7"));
    EXPECT_TRUE(window->close());
}
