#include "platform/linux/AutostartLogonEntry.h"
#include "platform/linux/DesktopEntryExec.h"
#include "platform/linux/DisplayProbe.h"
#include "platform/linux/IniSettingsStore.h"
#include "FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString readText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString execValue(const QString& desktopFile)
{
    for (const QString& line : readText(desktopFile).split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("Exec=")))
            return line.mid(5);
    return {};
}

} // namespace

TEST(DesktopEntryExec, QuotedPathsParseBackUnchanged)
{
    const QStringList paths{
        QStringLiteral("/usr/bin/tapetor"),
        QStringLiteral("/home/jan/moje programy/tapetor"),
        QStringLiteral("/opt/\"quoted\"/tapetor"),
        QStringLiteral("/opt/$HOME/`cmd`/tapetor"),
        QStringLiteral("/opt/100%/%f/tapetor"),
        QStringLiteral("/opt/back\\slash\\\\/tapetor"),
        QStringLiteral("/opt/new\nline\ttab/tapetor"),
        QStringLiteral("/opt/příliš žluťoučký/tapetor"),
    };
    for (const QString& path : paths) {
        EXPECT_EQ(parseExecLine(execLine(path, QString())), QStringList{path}) << path.toStdString();
        EXPECT_EQ(parseExecLine(execLine(path, QStringLiteral("/startos"))),
                  (QStringList{path, QStringLiteral("/startos")}))
            << path.toStdString();
    }
}

TEST(DesktopEntryExec, EscapesFollowTheDesktopEntryRules)
{
    EXPECT_EQ(execLine(QStringLiteral("/a b/t"), QStringLiteral("/startos")), QStringLiteral("\"/a b/t\" /startos"));
    EXPECT_EQ(quoteExecArgument(QStringLiteral("/$x")), QStringLiteral("\"/\\\\$x\""));
    EXPECT_EQ(quoteExecArgument(QStringLiteral("/5%")), QStringLiteral("\"/5%%\""));
    // A backtick and a double quote are escaped like the dollar sign.
    EXPECT_EQ(quoteExecArgument(QStringLiteral("/`cmd`")), QStringLiteral("\"/\\\\`cmd\\\\`\""));
    EXPECT_EQ(quoteExecArgument(QStringLiteral("/a\"b")), QStringLiteral("\"/a\\\\\"b\""));
    // A backslash is escaped inside the quotes, and the value escapes it once more.
    EXPECT_EQ(quoteExecArgument(QStringLiteral("a\\b")), QStringLiteral("\"a\\\\\\\\b\""));
    EXPECT_FALSE(quoteExecArgument(QStringLiteral("a\nb")).contains(QLatin1Char('\n')));
}

TEST(AutostartLogonEntry, WritesAValidEntryInBothFormsAndRemovesIt)
{
    QTemporaryDir config;
    AutostartLogonEntry entry(config.path());
    const QString file = config.filePath(QStringLiteral("autostart/tapetor.desktop"));
    ASSERT_TRUE(entry.canOpen());
    ASSERT_TRUE(entry.write(QStringLiteral("/opt/my apps/tapetor"), QStringLiteral("/startos")));
    const QString text = readText(file);
    EXPECT_TRUE(text.startsWith(QLatin1String("[Desktop Entry]\n")));
    for (const char* line :
         {"Type=Application\n", "Name=tapetor\n", "Icon=tapetor\n", "X-GNOME-Autostart-enabled=true\n"})
        EXPECT_TRUE(text.contains(QLatin1String(line))) << line;
    EXPECT_EQ(execValue(file), QStringLiteral("\"/opt/my apps/tapetor\" /startos"));

    ASSERT_TRUE(entry.write(QStringLiteral("/opt/my apps/tapetor"), QString()));
    EXPECT_EQ(execValue(file), QStringLiteral("\"/opt/my apps/tapetor\""));

    EXPECT_TRUE(entry.remove());
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_TRUE(entry.remove()) << "removing an absent entry is no failure";
}

TEST(IniSettingsStore, RoundTripsTextsPerApplicationAndSection)
{
    QTemporaryDir config;
    IniSettingsStore store(config.path());
    const QString app = QStringLiteral("tapetor");
    EXPECT_EQ(store.read(app, QStringLiteral("options"), QStringLiteral("run"), QStringLiteral("def")),
              QStringLiteral("def"));
    const QStringList values{QStringLiteral("<kolekce není vybrána>"),
                             QString(),
                             QStringLiteral("a, b; c = d"),
                             QStringLiteral("@Variant(x)"),
                             QStringLiteral("  padded  "),
                             QString(3000, QLatin1Char('x'))};
    int key = 0;
    for (const QString& value : values)
        ASSERT_TRUE(store.write(app, QStringLiteral("options"), QString::number(key++), value));
    ASSERT_TRUE(store.write(app, QStringLiteral("uss3"), QStringLiteral("major"), QStringLiteral("3")));
    EXPECT_TRUE(QFile::exists(config.filePath(QStringLiteral("tapetor/tapetor.ini"))));

    IniSettingsStore reopened(config.path());
    key = 0;
    for (const QString& value : values)
        EXPECT_EQ(reopened.read(app, QStringLiteral("options"), QString::number(key++), QStringLiteral("def")), value);
    EXPECT_EQ(reopened.read(app, QStringLiteral("uss3"), QStringLiteral("major"), {}), QStringLiteral("3"));
    EXPECT_EQ(reopened.read(app, QStringLiteral("options"), QStringLiteral("major"), QStringLiteral("none")),
              QStringLiteral("none"));
}

TEST(IniSettingsStore, ReadsHandEditedFilesAndSeesChangesByOthers)
{
    QTemporaryDir config;
    QDir().mkpath(config.filePath(QStringLiteral("Orbenta_UpdateService")));
    const QString file = config.filePath(QStringLiteral("Orbenta_UpdateService/Orbenta_UpdateService.ini"));
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("[options]\npath=/opt/orb/\nversion=1,52\n");
    }
    IniSettingsStore store(config.path());
    EXPECT_EQ(store.read(QStringLiteral("Orbenta_UpdateService"), QStringLiteral("options"), QStringLiteral("path"),
                         {}),
              QStringLiteral("/opt/orb/"));
    EXPECT_EQ(store.read(QStringLiteral("Orbenta_UpdateService"), QStringLiteral("options"), QStringLiteral("version"),
                         {}),
              QStringLiteral("1,52"));

    // The update client rewrites its file while the program runs; the next read sees it.
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write("[options]\npath=/opt/orbenta/nova/\nversion=1,60\nadded=yes\n");
    }
    EXPECT_EQ(store.read(QStringLiteral("Orbenta_UpdateService"), QStringLiteral("options"), QStringLiteral("path"),
                         {}),
              QStringLiteral("/opt/orbenta/nova/"));
    EXPECT_EQ(store.read(QStringLiteral("Orbenta_UpdateService"), QStringLiteral("options"), QStringLiteral("added"),
                         {}),
              QStringLiteral("yes"));
}

TEST(IniSettingsStore, DeleteAppRemovesOnlyThatApplication)
{
    QTemporaryDir config;
    IniSettingsStore store(config.path());
    ASSERT_TRUE(
        store.write(QStringLiteral("tapetor"), QStringLiteral("options"), QStringLiteral("run"), QStringLiteral("1")));
    ASSERT_TRUE(
        store.write(QStringLiteral("tapetorX"), QStringLiteral("options"), QStringLiteral("run"), QStringLiteral("1")));
    EXPECT_TRUE(store.deleteApp(QStringLiteral("tapetor")));
    EXPECT_FALSE(QFile::exists(config.filePath(QStringLiteral("tapetor/tapetor.ini"))));
    EXPECT_FALSE(QFile::exists(config.filePath(QStringLiteral("tapetor"))));
    EXPECT_EQ(store.read(QStringLiteral("tapetor"), QStringLiteral("options"), QStringLiteral("run"), {}), QString());
    EXPECT_EQ(store.read(QStringLiteral("tapetorX"), QStringLiteral("options"), QStringLiteral("run"), {}),
              QStringLiteral("1"));
}

TEST(IniSettingsStore, AFailedWriteIsReportedAndKeepsThePreviousFile)
{
    QTemporaryDir config;
    IniSettingsStore store(config.path());
    ASSERT_TRUE(
        store.write(QStringLiteral("tapetor"), QStringLiteral("options"), QStringLiteral("run"), QStringLiteral("1")));
    const QString file = config.filePath(QStringLiteral("tapetor/tapetor.ini"));
    const QString before = readText(file);
    {
        const FileSizeLimit full(40);
        EXPECT_FALSE(store.write(QStringLiteral("tapetor"), QStringLiteral("options"), QStringLiteral("kolekce"),
                                 QString(500, QLatin1Char('k'))));
    }
    EXPECT_EQ(readText(file), before);
}

TEST(DisplayProbe, AnswersOnlyWhenAServerListensOrQtJudgesItself)
{
    QTemporaryDir runtime;
    QLocalServer compositor;
    ASSERT_TRUE(compositor.listen(runtime.filePath(QStringLiteral("wayland-7"))));
    const QByteArray dir = QFile::encodeName(runtime.path());
    const QByteArray live = QFile::encodeName(compositor.fullServerName());
    // No X server listens on display 4711.
    const QByteArray noX = ":4711";
    struct Case {
        const char* name;
        DisplayEnvironment environment;
        bool answers;
    };
    const Case cases[] = {
        {"nothing set", {}, false},
        {"an X display without a server", {{}, noX, {}, {}, dir}, false},
        {"a Wayland socket by name", {{}, noX, "wayland-7", {}, dir}, true},
        {"a Wayland socket by path", {{}, {}, live, {}, {}}, true},
        {"a stale Wayland name", {{}, noX, "wayland-8", {}, dir}, false},
        {"wayland-0 is not there", {{}, {}, {}, {}, dir}, false},
        {"a socket handed over", {{}, {}, {}, "5", {}}, true},
        {"X asked for, only Wayland there", {"xcb", noX, "wayland-7", {}, dir}, false},
        {"Wayland asked for", {"wayland", {}, "wayland-7", {}, dir}, true},
        {"either asked for", {"xcb;wayland-egl", noX, "wayland-7", {}, dir}, true},
        {"offscreen", {"offscreen", {}, {}, {}, {}}, true},
        {"a platform with options", {"vnc:size=800x600", {}, {}, {}, {}}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(displayAnswers(c.environment), c.answers);
    }
}
