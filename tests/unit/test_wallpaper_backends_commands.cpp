#include "platform/linux/wallpaper/BackendCommands.h"
#include "platform/linux/wallpaper/DesktopDetection.h"
#include "platform/linux/wallpaper/StyleOptions.h"
#include "platform/linux/wallpaper/TextQuoting.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

} // namespace

TEST(DesktopDetectionTest, PicksTheFirstKnownDesktopOfTheList)
{
    const struct {
        const char* currentDesktop;
        DesktopKind kind;
    } cases[] = {
        {"GNOME", DesktopKind::Gnome},
        {"ubuntu:GNOME", DesktopKind::Gnome},
        {"Unity:Unity7:ubuntu", DesktopKind::Gnome},
        {"Budgie:GNOME", DesktopKind::Gnome},
        {"GNOME-Flashback:GNOME", DesktopKind::Gnome},
        {"X-Cinnamon", DesktopKind::Cinnamon},
        {"Cinnamon", DesktopKind::Cinnamon},
        {"MATE", DesktopKind::Mate},
        {"XFCE", DesktopKind::Xfce},
        {"KDE", DesktopKind::Kde},
        {"kde", DesktopKind::Kde},
        {"LXDE", DesktopKind::Lxde},
        {"LXQt", DesktopKind::Lxqt},
        {"sway", DesktopKind::Sway},
        {"Hyprland:sway", DesktopKind::Sway},
        {"KDE:GNOME", DesktopKind::Kde},
        {"Pantheon:GNOME", DesktopKind::Gnome},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.currentDesktop);
        for (const bool x11 : {true, false}) {
            for (const bool wayland : {true, false})
                EXPECT_EQ(detectDesktop(s(c.currentDesktop), x11, wayland), c.kind);
        }
    }
}

TEST(DesktopDetectionTest, UnknownOrMissingDesktopsUseSwaybgOnWaylandAndTheRootWindowOnX)
{
    for (const char* currentDesktop :
         {"", "openbox", "i3", "Hyprland", "wayfire", "labwc:wlroots", "river", "GNOMEISH", ":::"}) {
        SCOPED_TRACE(currentDesktop);
        EXPECT_EQ(detectDesktop(s(currentDesktop), true, false), DesktopKind::X11Root);
        EXPECT_EQ(detectDesktop(s(currentDesktop), false, true), DesktopKind::Swaybg);
        // Xwayland's root window would lie under the compositor's background.
        EXPECT_EQ(detectDesktop(s(currentDesktop), true, true), DesktopKind::Swaybg);
        EXPECT_EQ(detectDesktop(s(currentDesktop), false, false), DesktopKind::Unsupported);
    }
}

// A compositor's socket: bound and listening; the kernel answers a connection for it.
class ListeningSocket {
public:
    explicit ListeningSocket(const QString& path)
        : m_fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0))
    {
        const QByteArray name = QFile::encodeName(path);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
        m_listening
            = ::bind(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 && ::listen(m_fd, 4) == 0;
    }
    ~ListeningSocket() { ::close(m_fd); }
    ListeningSocket(const ListeningSocket&) = delete;
    ListeningSocket& operator=(const ListeningSocket&) = delete;
    bool listening() const { return m_listening; }

private:
    int m_fd;
    bool m_listening = false;
};

TEST(DesktopDetectionTest, OnlyAWaylandSocketThatAnswersCountsAsWayland)
{
    QTemporaryDir runtime;
    const ListeningSocket compositor(runtime.filePath(QStringLiteral("wayland-1")));
    ASSERT_TRUE(compositor.listening());
    {
        // A socket whose compositor has ended: it is still there, and nobody listens.
        const ListeningSocket ended(runtime.filePath(QStringLiteral("wayland-0")));
    }
    QFile plain(runtime.filePath(QStringLiteral("wayland-2")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    const QString dir = runtime.path();
    const struct {
        QString waylandDisplay;
        QString runtimeDir;
        bool answers;
    } cases[] = {
        {s("wayland-1"), dir, true},
        {dir + s("/wayland-1"), QString(), true},
        {dir + s("/wayland-1"), s("/nonexistent"), true},
        {s("wayland-0"), dir, false},
        {s("wayland-2"), dir, false},
        {s("wayland-9"), dir, false},
        {s("wayland-1"), QString(), false},
        {QString(), dir, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(qPrintable(c.waylandDisplay + s(" in ") + c.runtimeDir));
        EXPECT_EQ(waylandDisplayAnswers(c.waylandDisplay, c.runtimeDir), c.answers);
    }
}

TEST(StyleOptionsTest, EachDesktopNamesTheThreeStylesItsOwnWay)
{
    EXPECT_EQ(gnomePictureOptions(0), s("centered"));
    EXPECT_EQ(gnomePictureOptions(1), s("stretched"));
    EXPECT_EQ(gnomePictureOptions(2), s("wallpaper"));
    EXPECT_EQ(xfceImageStyle(0), 1);
    EXPECT_EQ(xfceImageStyle(1), 3);
    EXPECT_EQ(xfceImageStyle(2), 2);
    EXPECT_EQ(kdeFillMode(0), 6);
    EXPECT_EQ(kdeFillMode(1), 0);
    EXPECT_EQ(kdeFillMode(2), 3);
    EXPECT_EQ(pcmanfmWallpaperMode(0), s("center"));
    EXPECT_EQ(pcmanfmWallpaperMode(1), s("stretch"));
    EXPECT_EQ(pcmanfmWallpaperMode(2), s("tile"));
    EXPECT_EQ(swayBackgroundMode(0), s("center"));
    EXPECT_EQ(swayBackgroundMode(1), s("stretch"));
    EXPECT_EQ(swayBackgroundMode(2), s("tile"));
}

TEST(StyleOptionsTest, CodesOutsideTheThreeStylesHaveNoValue)
{
    // xfconf would store any integer; an invalid style must never reach it.
    for (const int style : {-1, 3, 7, 1000}) {
        SCOPED_TRACE(style);
        EXPECT_FALSE(gnomePictureOptions(style));
        EXPECT_FALSE(xfceImageStyle(style));
        EXPECT_FALSE(kdeFillMode(style));
        EXPECT_FALSE(pcmanfmWallpaperMode(style));
        EXPECT_FALSE(swayBackgroundMode(style));
    }
}

TEST(TextQuotingTest, QuotesSurviveEachProgramsOwnParser)
{
    const QString nasty = s(R"(/home/o'neil/my "best" \pics/$HOME `x`.png)");
    EXPECT_EQ(gvariantString(nasty), s(R"('/home/o\'neil/my "best" \\pics/$HOME `x`.png')"));
    EXPECT_EQ(javaScriptString(nasty), s(R"('/home/o\'neil/my "best" \\pics/$HOME `x`.png')"));
    EXPECT_EQ(javaScriptString(s("a\nb")), s(R"('a\nb')"));
    EXPECT_EQ(swayQuoted(nasty), s(R"("/home/o'neil/my \"best\" \\pics/\$HOME \`x\`.png")"));
    EXPECT_EQ(fileUri(s("/tmp/a b/c#d'e.png")), s("file:///tmp/a%20b/c%23d'e.png"));
    EXPECT_EQ(fileUri(s("/tmp/ž.png")), s("file:///tmp/%C5%BE.png"));
}

TEST(BackendCommandsTest, GnomeSetsTheStyleThenBothPictureUris)
{
    const ToolCalls calls = gnomeCalls(s("/d/tapetor-5.png"), 1);
    const QString schema = s("org.gnome.desktop.background");
    const ToolCalls expected{
        {s("gsettings"), {s("set"), schema, s("picture-options"), s("'stretched'")}, true},
        {s("gsettings"), {s("set"), schema, s("picture-uri"), s("'file:///d/tapetor-5.png'")}, true},
        // Older GNOME has no dark variant: its failure must not fail the change.
        {s("gsettings"), {s("set"), schema, s("picture-uri-dark"), s("'file:///d/tapetor-5.png'")}, false},
    };
    EXPECT_EQ(calls, expected);
}

TEST(BackendCommandsTest, AnInvalidStyleLeavesTheDesktopsStyleAlone)
{
    const QString png = s("/d/tapetor-5.png");
    for (const ToolCalls& calls : {gnomeCalls(png, 7), cinnamonCalls(png, 7), mateCalls(png, 7)}) {
        for (const ToolCall& call : calls)
            EXPECT_FALSE(call.arguments.contains(s("picture-options")));
    }
    EXPECT_FALSE(kdeWallpaperScript(s("file:///x.png"), 7).contains(s("FillMode")));
    EXPECT_EQ(lxdeCalls(png, 7), (ToolCalls{{s("pcmanfm"), {s("--set-wallpaper=/d/tapetor-5.png")}, true}}));
}

TEST(BackendCommandsTest, CinnamonAndMateUseTheirOwnSchemas)
{
    EXPECT_EQ(cinnamonCalls(s("/d/a.png"), 2),
              (ToolCalls{{s("gsettings"),
                          {s("set"), s("org.cinnamon.desktop.background"), s("picture-options"), s("'wallpaper'")},
                          true},
                         {s("gsettings"),
                          {s("set"), s("org.cinnamon.desktop.background"), s("picture-uri"), s("'file:///d/a.png'")},
                          true}}));
    // MATE takes a plain path, not a URI.
    EXPECT_EQ(mateCalls(s("/d/o'k.png"), 0),
              (ToolCalls{{s("gsettings"),
                          {s("set"), s("org.mate.background"), s("picture-options"), s("'centered'")},
                          true},
                         {s("gsettings"),
                          {s("set"), s("org.mate.background"), s("picture-filename"), s(R"('/d/o\'k.png')")},
                          true}}));
}

TEST(BackendCommandsTest, KdeScriptWritesTheEscapedUriAndFillModeOnEveryDesktop)
{
    const QString script = kdeWallpaperScript(s("file:///home/o'neil/a\\b.png"), 0);
    EXPECT_TRUE(script.contains(s("desktops()")));
    EXPECT_TRUE(script.contains(s("d.wallpaperPlugin = 'org.kde.image';")));
    EXPECT_TRUE(script.contains(s("d.currentConfigGroup = ['Wallpaper', 'org.kde.image', 'General'];")));
    EXPECT_TRUE(script.contains(s("d.writeConfig('FillMode', 6);")));
    EXPECT_TRUE(script.contains(s(R"(d.writeConfig('Image', 'file:///home/o\'neil/a\\b.png');)")));
    EXPECT_TRUE(kdeWallpaperScript(s("file:///a.png"), 1).contains(s("d.writeConfig('FillMode', 0);")));
    EXPECT_TRUE(kdeWallpaperScript(s("file:///a.png"), 2).contains(s("d.writeConfig('FillMode', 3);")));

    const ToolCalls calls = kdeCalls(s("/home/o'neil/a.png"), 2);
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].program, s("dbus-send"));
    EXPECT_EQ(calls[0].arguments.mid(0, 6),
              (QStringList{s("--session"), s("--dest=org.kde.plasmashell"), s("--type=method_call"), s("--print-reply"),
                           s("/PlasmaShell"), s("org.kde.PlasmaShell.evaluateScript")}));
    EXPECT_EQ(calls[0].arguments[6], s("string:") + kdeWallpaperScript(s("file:///home/o'neil/a.png"), 2));
}

TEST(BackendCommandsTest, XfceSetsEveryExistingMonitorAndWorkspaceEmptyFirst)
{
    const QByteArray listing = "/backdrop/screen0/monitor0/image-path\n"
                               "/backdrop/screen0/monitorVirtual1/workspace0/color-style\n"
                               "/backdrop/screen0/monitorVirtual1/workspace0/last-image\n"
                               "/backdrop/screen0/monitorVirtual1/workspace1/last-image\n"
                               "/backdrop/screen0/monitorHDMI-1/workspace0/last-image\n"
                               "/backdrop/screen0/monitorHDMI-1/workspace0/last-image-backup\n"
                               "/desktop-icons/style\n";
    const QStringList properties = xfceLastImageProperties(listing);
    EXPECT_EQ(properties,
              (QStringList{s("/backdrop/screen0/monitorVirtual1/workspace0/last-image"),
                           s("/backdrop/screen0/monitorVirtual1/workspace1/last-image"),
                           s("/backdrop/screen0/monitorHDMI-1/workspace0/last-image")}));

    const ToolCalls calls = xfceCalls(properties.mid(0, 1), s("/d/a b.png"), 1);
    const QString p = s("/backdrop/screen0/monitorVirtual1/workspace0/");
    const auto set = [](const QString& property, const char* type, const QString& value, bool required) {
        return ToolCall{s("xfconf-query"),
                        {s("-c"), s("xfce4-desktop"), s("-p"), property, s("-n"), s("-t"), s(type), s("-s"), value},
                        required};
    };
    EXPECT_EQ(calls,
              (ToolCalls{set(p + s("last-image"), "string", QString(), false),
                         set(p + s("last-image"), "string", s("/d/a b.png"), true),
                         set(p + s("image-style"), "int", s("3"), true)}));

    EXPECT_EQ(xfceCalls(properties, s("/d/a.png"), 7).size(), 6); // no style for a bad code
    EXPECT_TRUE(xfceCalls({}, s("/d/a.png"), 1).isEmpty());
    EXPECT_EQ(xfceListingCall(), (ToolCall{s("xfconf-query"), {s("-c"), s("xfce4-desktop"), s("-l")}, true}));
}

TEST(BackendCommandsTest, PcmanfmAndSwayGetThePathAndMode)
{
    EXPECT_EQ(lxdeCalls(s("/d/a b.png"), 2),
              (ToolCalls{{s("pcmanfm"), {s("--set-wallpaper=/d/a b.png"), s("--wallpaper-mode=tile")}, true}}));
    EXPECT_EQ(lxqtCalls(s("/d/a.png"), 0),
              (ToolCalls{{s("pcmanfm-qt"), {s("--set-wallpaper=/d/a.png"), s("--wallpaper-mode=center")}, true}}));
    EXPECT_EQ(swayCalls(s("/home/me/$x/a b.png"), 1),
              (ToolCalls{
                  {s("swaymsg"), {s("output"), s("*"), s("bg"), s(R"("/home/me/\$x/a b.png")"), s("stretch")}, true}}));
    // swaybg takes its arguments as they are: no quoting. Black around a centred picture.
    const QStringList swaybgHead{s("-o"), s("*"), s("-i"), s("/home/me/$x/a b.png"), s("-m")};
    const QStringList swaybgTail{s("-c"), s("#000000")};
    EXPECT_EQ(swaybgArguments(s("/home/me/$x/a b.png"), 0), swaybgHead + QStringList{s("center")} + swaybgTail);
    EXPECT_EQ(swaybgArguments(s("/home/me/$x/a b.png"), 1), swaybgHead + QStringList{s("stretch")} + swaybgTail);
    EXPECT_EQ(swaybgArguments(s("/home/me/$x/a b.png"), 2), swaybgHead + QStringList{s("tile")} + swaybgTail);
}
