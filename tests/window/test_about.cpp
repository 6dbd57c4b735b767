// The about page, the update client and the links.
#include "WindowFixture.h"

namespace {
const QString Registration = QStringLiteral("Orbenta_UpdateService");
const QString NotInstalled = QStringLiteral("klient služby inovací nebyl na vašem počítači nalezen");
const QString Outdated = QStringLiteral("klient služby je zastaralý, inovujte ho");
const QString Current = QStringLiteral("klient služby je nainstalován, můžete inovovat");
const QString ClientFolder = QStringLiteral("/opt/orbenta/");
} // namespace

class AboutPage : public WindowFixture {
protected:
    void registerClient(const QString& folder, const QString& version)
    {
        settings.write(Registration, QStringLiteral("options"), QStringLiteral("path"), folder);
        settings.write(Registration, QStringLiteral("options"), QStringLiteral("version"), version);
    }
    bool enabled(const char* name) const { return control<QWidget>(name)->isEnabled(); }
};

TEST_F(AboutPage, TwoClicksOpenAndCloseItKeepingTheRefreshedTexts)
{
    start();
    EXPECT_EQ(text("verze"), QStringLiteral("000-000-000"));
    EXPECT_EQ(text("inovaceInfo"), QStringLiteral("unknow"));

    click("Label14");
    EXPECT_TRUE(visible("about"));
    EXPECT_EQ(control<QWidget>("about")->pos(), QPoint(8, 64));
    EXPECT_EQ(text("Label14"), QStringLiteral("zavřít informace o aplikaci"));
    EXPECT_EQ(colour("Label14"), QColor(255, 0, 0));
    EXPECT_EQ(text("verze"), QStringLiteral("verze aplikace: 3.1 sestavení 3"));

    click("Label14");
    EXPECT_FALSE(visible("about"));
    EXPECT_EQ(text("Label14"), QStringLiteral("informace o aplikaci"));
    EXPECT_EQ(colour("Label14"), QColor(0, 0, 255));
    EXPECT_EQ(text("verze"), QStringLiteral("verze aplikace: 3.1 sestavení 3"));
    EXPECT_EQ(text("inovaceInfo"), NotInstalled);
}

TEST_F(AboutPage, ADoubleClickOpensItAndLeavesItOpen)
{
    start();
    doubleClick("Label14");
    EXPECT_TRUE(visible("about"));
    EXPECT_EQ(text("Label14"), QStringLiteral("zavřít informace o aplikaci"));
    doubleClick("Label14");
    EXPECT_FALSE(visible("about"));
}

TEST_F(AboutPage, OpensInFrontOfAnotherPageAndLeavesItOpen)
{
    start();
    click("Label6");
    click("Label14");
    QWidget* about = control<QWidget>("about");
    const QPoint inside = about->mapTo(window.get(), QPoint(about->width() / 2, about->height() - 2));
    QWidget* hit = window->childAt(inside);
    EXPECT_TRUE(hit == about || about->isAncestorOf(hit)) << "the about page lies on top";
    click("Label14");
    EXPECT_FALSE(visible("about"));
    EXPECT_TRUE(visible("nastaveni"));
}

TEST_F(AboutPage, MissingOrOutdatedClientOffersTheDownload)
{
    start();
    click("Label14");
    EXPECT_EQ(text("inovaceInfo"), NotInstalled);
    EXPECT_TRUE(visible("Label20"));
    EXPECT_FALSE(enabled("Label19"));

    registerClient(ClientFolder, QStringLiteral("2.0.51"));
    click("Label14");
    EXPECT_EQ(text("inovaceInfo"), Outdated);
    EXPECT_FALSE(enabled("Label19"));

    registerClient(ClientFolder, QString());
    click("Label14");
    EXPECT_EQ(text("inovaceInfo"), Outdated) << "an empty version cannot prove the client current";
    EXPECT_FALSE(enabled("Label19"));
}

TEST_F(AboutPage, ACurrentClientStaysLaunchableAfterItsRegistrationGoes)
{
    registerClient(ClientFolder, QStringLiteral("1.52"));
    start();
    click("Label14");
    EXPECT_EQ(text("inovaceInfo"), Current);
    EXPECT_TRUE(enabled("Label19"));
    EXPECT_FALSE(visible("Label20"));

    settings.deleteApp(Registration);
    click("Label14");
    click("Label14");
    EXPECT_EQ(text("inovaceInfo"), NotInstalled);
    EXPECT_TRUE(enabled("Label19")) << "nothing takes back what an earlier click offered";
    EXPECT_TRUE(visible("Label20"));
}

class UpdateClient : public AboutPage {
protected:
    void openWithCurrentClient()
    {
        registerClient(ClientFolder, QStringLiteral("60"));
        start();
        click("Label14");
        ASSERT_TRUE(enabled("Label19"));
    }
};

TEST_F(UpdateClient, AnsweringNoChangesNothing)
{
    openWithCurrentClient();
    const int writesBefore = settings.writes;
    messages.answers = {MsgAnswer::No};
    click("Label19");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              QStringLiteral("Chcete-li zjistit nové verze, musíte aplikaci ukončit. Chcete aplikaci ukončit nyní?"));
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("Dotaz"));
    EXPECT_EQ(messages.shown[0].style, MsgStyle::YesNo);
    EXPECT_EQ(settings.writes, writesBefore);
    EXPECT_FALSE(settings.has(Registration, QStringLiteral("script"), QStringLiteral("returncode")));
    EXPECT_TRUE(process.started.isEmpty());
    EXPECT_TRUE(process.exitCodes.empty());
    EXPECT_TRUE(tray.present);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->hasEnded());
}

TEST_F(UpdateClient, AnsweringYesStartsTheClientAndEndsWithoutTheUnsavedQuestion)
{
    openWithCurrentClient();
    window->collection().setEdited(true);
    // A client that does not start changes nothing about the ending, nor is it reported.
    process.startSucceeds = false;
    std::erase_if(settings.values, [](const auto& entry) { return entry.first.startsWith(QLatin1String("tapetor/")); });
    messages.answers = {MsgAnswer::Yes};

    click("Label19");

    ASSERT_EQ(messages.shown.size(), 1u) << "only the update question, no unsaved-collection question";
    EXPECT_EQ(settings.read(Registration, QStringLiteral("script"), QStringLiteral("returncode"), QString()),
              QStringLiteral("tapetor"));
    EXPECT_EQ(process.started, QStringList{QStringLiteral("/opt/orbenta/orbupd.exe")});
    EXPECT_TRUE(settings.has(QStringLiteral("tapetor"), QStringLiteral("options"), QStringLiteral("interval")))
        << "the settings are saved on the way out";
    EXPECT_FALSE(tray.present);
    EXPECT_EQ(tray.removeCalls, 1);
    EXPECT_EQ(process.exitCodes, std::vector<int>{0});
    EXPECT_TRUE(window->hasEnded());
    EXPECT_FALSE(window->isVisible());
}

TEST_F(UpdateClient, DownloadExplainsThenOpensTheInstaller)
{
    start();
    click("Label14");
    ASSERT_TRUE(visible("Label20"));
    click("Label20");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              QStringLiteral("Po stažení a nainstalování klienta aplikaci tapetor restartujte.\r"
                             "Poté můžete provést inovaci."));
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("inovace aplikace"));
    EXPECT_EQ(messages.shown[0].style, MsgStyle::OkInformation);
    EXPECT_EQ(shell.opened, QStringList{QStringLiteral("http://" TAPETOR_UPDATE_HOST "/soubory/client/orbupd.exe")});
    EXPECT_TRUE(process.exitCodes.empty());
    EXPECT_TRUE(window->isVisible());
}

class Links : public WindowFixture {
protected:
    // Runs the action and returns what it handed to the shell.
    QStringList opens(const std::function<void()>& action)
    {
        shell.opened.clear();
        action();
        return shell.opened;
    }
};

TEST_F(Links, EachLinkOpensExactlyOneAddress)
{
    start();
    click("Label14");
    const QString product = QStringLiteral("http://" TAPETOR_SITE_HOST "/search.php?rstext=all-phpRS-all&rstema=19");
    const QString home = QStringLiteral("http://" TAPETOR_SITE_HOST);

    EXPECT_EQ(text("Label12"), home) << "the footer shows the home page";
    EXPECT_EQ(opens([&] { click("Label12"); }), QStringList{product}) << "but leads to the product page";
    EXPECT_EQ(opens([&] { menuItem("mnuurl1")->trigger(); }), QStringList{product});
    EXPECT_EQ(opens([&] { menuItem("mnuurl2")->trigger(); }), QStringList{home});
    EXPECT_EQ(opens([&] { click("Label21"); }),
              QStringList{QStringLiteral("http://" TAPETOR_SITE_HOST "/showpage.php?name=privacy")});
    EXPECT_EQ(opens([&] { click("Label22"); }),
              QStringList{QStringLiteral("mailto:" TAPETOR_MAIL "?subject=tapetor verze 3.1 build: 3&body=")});

    const QStringList donation = opens([&] { click("Label17"); });
    ASSERT_EQ(donation.size(), 1);
    EXPECT_TRUE(
        donation[0].startsWith(QStringLiteral("https://" TAPETOR_PAYMENT_HOST "/cgi-bin/webscr?cmd=_xclick&business=")))
        << donation[0].toStdString();
    EXPECT_TRUE(donation[0].endsWith(QStringLiteral("&amount=30%2e00&no_shipping=0&no_note=1&tax=0&currency_code=CZK"
                                                    "&lc=CZ&bn=PP%2dDonationsBF&charset=UTF%2d8")));
    EXPECT_EQ(opens([&] { click("Image6"); }), donation) << "the donation button leads where its caption does";
}

TEST_F(Links, MenuOfWebLinksOpensNothingByItself)
{
    start();
    click("Label14");
    EXPECT_TRUE(opens([&] { click("Label28"); }).isEmpty());
    EXPECT_TRUE(control<QMenu>("mnuUrl01")->isVisible());
    control<QMenu>("mnuUrl01")->hide();
    EXPECT_EQ(menuItem("mnuurl2")->text(), QStringLiteral(TAPETOR_SITE_NAME));
    EXPECT_TRUE(opens([&] { menuItem("mnuUrl3")->trigger(); }).isEmpty()) << "the questionnaire has no address";
}

TEST_F(Links, ApplicationMenuMinimisesIntoTheTray)
{
    start();
    ASSERT_TRUE(window->isVisible());
    menuItem("mnuc1_mini")->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(tray.present);
    EXPECT_FALSE(window->hasEnded());
}
