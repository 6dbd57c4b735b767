// The update client's version test, the addresses of the links and their hand-over.
#include "about/AppVersion.h"
#include "about/ClientVersion.h"
#include "about/LinkTargets.h"
#include "platform/qt/QtShellOpener.h"

#include <gtest/gtest.h>

TEST(ClientVersion, OnlyTheLastTwoCharactersDecide)
{
    const QString path = QStringLiteral("C:\\Orbenta\\");
    EXPECT_EQ(clientState(path, QStringLiteral("1.0.51")), ClientState::Outdated);
    EXPECT_EQ(clientState(path, QStringLiteral("1.0.52")), ClientState::Current);
    EXPECT_EQ(clientState(path, QStringLiteral("99")), ClientState::Current);
    EXPECT_EQ(clientState(path, QStringLiteral("9.9.9910")), ClientState::Outdated)
        << "a tail of 10 is outdated whatever comes before it";
    EXPECT_EQ(clientState(path, QStringLiteral("60")), ClientState::Current);
    EXPECT_EQ(clientState(path, QStringLiteral("7")), ClientState::Outdated) << "a single digit is compared alone";
    EXPECT_EQ(clientState(QString(), QStringLiteral("99")), ClientState::NotInstalled) << "no folder, no client";
}

TEST(ClientVersion, ATailThatIsNoNumberCountsAsOutdated)
{
    const QString path = QStringLiteral("/opt/orbenta/");
    for (const char* version : {"", "beta", "5a", "a9", "7 ", "-9", "+5"})
        EXPECT_EQ(clientState(path, QString::fromUtf8(version)), ClientState::Outdated) << version;
}

TEST(AppVersion, LineAndBuildNumbers)
{
    EXPECT_EQ(versionLine({3, 1, 3}), QStringLiteral("verze aplikace: 3.1 sestavení 3"));
    EXPECT_EQ(versionLine(applicationVersion()), QStringLiteral("verze aplikace: 3.1 sestavení 3"));
}

TEST(LinkTargets, SitePagesAndDownload)
{
    const QString host = QStringLiteral("www.example.org");
    EXPECT_EQ(LinkTargets::productPage(host),
              QStringLiteral("http://www.example.org/search.php?rstext=all-phpRS-all&rstema=19"));
    EXPECT_EQ(LinkTargets::homePage(host), QStringLiteral("http://www.example.org"));
    EXPECT_EQ(LinkTargets::privacyPage(host), QStringLiteral("http://www.example.org/showpage.php?name=privacy"));
    EXPECT_EQ(LinkTargets::clientDownload(QStringLiteral("upd.example.net")),
              QStringLiteral("http://upd.example.net/soubory/client/orbupd.exe"));
}

TEST(LinkTargets, DonationEscapesOnlyTheMailAndSiteName)
{
    EXPECT_EQ(LinkTargets::donationPage(QStringLiteral("pay.example.com"), QStringLiteral("jan.novak@mail.example.cz"),
                                        QStringLiteral("www.obrazky.example")),
              QStringLiteral("https://pay.example.com/cgi-bin/webscr?cmd=_xclick"
                             "&business=jan%2enovak%40mail%2eexample%2ecz"
                             "&item_name=www%2eobrazky%2eexample"
                             "&amount=30%2e00&no_shipping=0&no_note=1&tax=0&currency_code=CZK&lc=CZ"
                             "&bn=PP%2dDonationsBF&charset=UTF%2d8"));
}

TEST(LinkTargets, MailLinkCarriesTheVersionInAPlainSubject)
{
    EXPECT_EQ(LinkTargets::mailLink(QStringLiteral("info@example.org"), QStringLiteral("tapetor"), {3, 1, 3}),
              QStringLiteral("mailto:info@example.org?subject=tapetor verze 3.1 build: 3&body="));
    EXPECT_EQ(LinkTargets::mailLink(QStringLiteral("a@b.example"), QStringLiteral("tapetor"), {12, 40, 105}),
              QStringLiteral("mailto:a@b.example?subject=tapetor verze 12.40 build: 105&body="));
}

TEST(ShellOpener, AddressesReachXdgOpenAsWritten)
{
#if !defined(Q_OS_UNIX) || defined(Q_OS_MACOS)
    GTEST_SKIP() << "xdg-open is the Linux desktops' opener; elsewhere the address goes to "
                    "QDesktopServices, which would open a real browser";
#endif
    QStringList programs;
    QList<QStringList> arguments;
    QtShellOpener opener([&](const QString& program, const QStringList& args) {
        programs << program;
        arguments << args;
        return true;
    });
    const QString donation = LinkTargets::donationPage(QStringLiteral("pay.example.com"), QStringLiteral("a@b.example"),
                                                       QStringLiteral("b.example"));
    const QString mail = QStringLiteral("mailto:a@b.example?subject=tapetor verze 3.1 build: 3&body=");
    EXPECT_TRUE(opener.open(donation));
    EXPECT_TRUE(opener.open(mail));
    EXPECT_EQ(programs, (QStringList{QStringLiteral("xdg-open"), QStringLiteral("xdg-open")}));
    ASSERT_EQ(arguments.size(), 2);
    EXPECT_EQ(arguments[0], QStringList{donation}) << "%2e, %2d and %40 stay escaped";
    EXPECT_EQ(arguments[1], QStringList{mail}) << "the subject keeps its blanks, in one argument";
}
