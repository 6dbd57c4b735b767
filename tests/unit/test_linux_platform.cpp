#include "platform/linux/AutostartLogonEntry.h"
#include "platform/linux/DesktopEntryExec.h"
#include "platform/linux/DisplayProbe.h"
#include "platform/linux/IniSettingsStore.h"
#include "platform/linux/SaveLeftovers.h"
#include "platform/linux/SessionPlace.h"
#include "platform/qt/QtSingleInstance.h"
#include "FileSizeLimit.h"

#include <QDir>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <fcntl.h>
#include <thread>
#include <vector>
#include <vector>
#include <sys/file.h>
#include <unistd.h>

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
    EXPECT_EQ(entry.location(), file);
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
    // Several at once, across sections, as a save writes them.
    ASSERT_TRUE(store.write(app,
                            {{QStringLiteral("uss3"), QStringLiteral("minor"), QStringLiteral("1")},
                             {QStringLiteral("options"), QStringLiteral("run"), QStringLiteral("0")}}));

    IniSettingsStore reopened(config.path());
    key = 0;
    for (const QString& value : values)
        EXPECT_EQ(reopened.read(app, QStringLiteral("options"), QString::number(key++), QStringLiteral("def")), value);
    EXPECT_EQ(reopened.read(app, QStringLiteral("uss3"), QStringLiteral("major"), {}), QStringLiteral("3"));
    EXPECT_EQ(reopened.read(app, QStringLiteral("uss3"), QStringLiteral("minor"), {}), QStringLiteral("1"));
    EXPECT_EQ(reopened.read(app, QStringLiteral("options"), QStringLiteral("run"), {}), QStringLiteral("0"));
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
    EXPECT_EQ(store.location(QStringLiteral("tapetor")), config.filePath(QStringLiteral("tapetor/tapetor.ini")));
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
        EXPECT_FALSE(
            store.write(QStringLiteral("tapetor"),
                        {{QStringLiteral("options"), QStringLiteral("run"), QStringLiteral("0")},
                         {QStringLiteral("options"), QStringLiteral("kolekce"), QString(500, QLatin1Char('k'))}}));
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

TEST(SessionPlace, OneNamePerDisplayAndScreensShareIt)
{
    const struct {
        QByteArray x11, wayland;
        const char* name;
    } cases[] = {
        {":0", {}, "tapetor-%3A0"},
        {":0.1", "wayland-0", "tapetor-%3A0"},
        {"host.example:10.0", {}, "tapetor-host.example%3A10"},
        {":1", "wayland-0", "tapetor-%3A1"},
        {{}, "wayland-1", "tapetor-wayland-1"},
        {{}, "/run/user/1000/wayland-0", "tapetor-%2Frun%2Fuser%2F1000%2Fwayland-0"},
        {{}, {}, "tapetor"},
    };
    for (const auto& c : cases) {
        DisplayEnvironment environment;
        environment.x11Display = c.x11;
        environment.waylandDisplay = c.wayland;
        EXPECT_EQ(sessionPlaceName(environment), QLatin1String(c.name)) << c.x11.constData() << c.wayland.constData();
    }
}

TEST(IniSettingsStore, ALockNoLivingSaveOwnsIsRemovedAtOnce)
{
    const QByteArray host = QSysInfo::machineHostName().toUtf8();
    const QByteArray self = QByteArray::number(qint64(::getpid()));
    const struct {
        const char* name;
        QByteArray contents;
        bool fileLocked; // a living holder keeps a file lock on it
        bool removed;
    } cases[] = {
        {"empty, left by a kill before the owner was written", {}, false, true},
        {"unreadable contents", "?\n", false, true},
        {"owner ended", "2147483000\ntapetor\n" + host + "\n", false, true},
        {"owner alive", self + "\ntapetor\n" + host + "\n", false, false},
        {"owner on another machine", "2147483000\ntapetor\nelsewhere.invalid\n", false, false},
        {"empty while its creator holds it", {}, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir folder;
        const QString lockPath = folder.filePath(QStringLiteral("tapetor.ini.lock"));
        QFile lock(lockPath);
        ASSERT_TRUE(lock.open(QIODevice::ReadWrite));
        lock.write(c.contents);
        lock.flush();
        // Long past the moment its creator writes the owner in.
        lock.setFileTime(QDateTime::currentDateTime().addSecs(-2), QFileDevice::FileModificationTime);
        if (c.fileLocked) {
            ASSERT_EQ(::flock(lock.handle(), LOCK_EX | LOCK_NB), 0);
        }
        EXPECT_EQ(removeStaleLock(lockPath), c.removed);
        EXPECT_EQ(QFile::exists(lockPath), !c.removed);
    }
}

TEST(IniSettingsStore, CopiesOfKilledSavesAreRemovedWhenNoSaveRuns)
{
    QTemporaryDir config;
    QDir(config.path()).mkpath(QStringLiteral("tapetor"));
    const QString file = config.filePath(QStringLiteral("tapetor/tapetor.ini"));
    const QStringList copies{file + QStringLiteral(".Ab3xQ9"), file + QStringLiteral(".zz0000")};
    const QStringList others{file + QStringLiteral(".Ab3xQ"), file + QStringLiteral(".bak.Ab3xQ9"),
                             config.filePath(QStringLiteral("tapetor/other.ini.Ab3xQ9"))};
    for (const QString& path : copies + others) {
        QFile made(path);
        ASSERT_TRUE(made.open(QIODevice::WriteOnly));
    }
    {
        // A save running in another process owns its copy.
        QLockFile running(file + QStringLiteral(".lock"));
        ASSERT_TRUE(running.tryLock(0));
        clearLeftoversOfKilledSaves(file);
        for (const QString& path : copies)
            EXPECT_TRUE(QFile::exists(path)) << qPrintable(path);
    }
    IniSettingsStore store(config.path());
    ASSERT_TRUE(
        store.write(QStringLiteral("tapetor"), QStringLiteral("options"), QStringLiteral("run"), QStringLiteral("1")));
    for (const QString& path : copies)
        EXPECT_FALSE(QFile::exists(path)) << qPrintable(path);
    for (const QString& path : others)
        EXPECT_TRUE(QFile::exists(path)) << qPrintable(path);
}

// The window's thread is held up here (a slow change, say): a later start is answered
// all the same, and the window takes it over once it gets to it. An ending copy answers
// no more, and a start then waits for its place.
TEST(QtSingleInstance, AStartIsAnsweredWhileTheWindowIsBusyAndNotOnceItEnds)
{
    QTemporaryDir runtime;
    const QString socket = runtime.filePath(QStringLiteral("tapetor.socket"));
    const QString lockPath = runtime.filePath(QStringLiteral("tapetor.lock"));
    auto running = std::make_unique<QtSingleInstance>(socket, lockPath);
    int handOvers = 0;
    std::vector<SingleInstance::Command> commands;
    running->onHandOver = [&](SingleInstance::Command command) {
        commands.push_back(command);
        return ++handOvers > 0;
    };
    ASSERT_EQ(running->claim(), SingleInstance::Claim::First);
    const auto startBeside = [&](SingleInstance::Command command = SingleInstance::Command::Show) {
        QtSingleInstance later(socket, lockPath);
        SingleInstance::Claim claimed{};
        std::thread start([&] { claimed = later.claim(command); });
        // No event of this thread runs while the start waits.
        start.join();
        return claimed;
    };
    EXPECT_EQ(startBeside(), SingleInstance::Claim::HandedOver);
    EXPECT_EQ(handOvers, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(handOvers, 1);
    // A start for a command hands the command over.
    for (const auto command : {SingleInstance::Command::Next, SingleInstance::Command::Previous})
        EXPECT_EQ(startBeside(command), SingleInstance::Claim::HandedOver);
    QCoreApplication::processEvents();
    const std::vector<SingleInstance::Command> expected{SingleInstance::Command::Show, SingleInstance::Command::Next,
                                                        SingleInstance::Command::Previous};
    EXPECT_EQ(commands, expected);

    running->leave();
    QLocalSocket ask;
    ask.connectToServer(socket);
    EXPECT_FALSE(ask.waitForConnected(1000)) << "an ending copy would take a start it can no longer show";
    running.reset();
    EXPECT_EQ(startBeside(), SingleInstance::Claim::First);
    EXPECT_EQ(handOvers, 3);
}

TEST(QtSingleInstance, AnOldPlaceOfALivingCopyIsNotTakenOver)
{
    QTemporaryDir runtime;
    const QString socket = runtime.filePath(QStringLiteral("tapetor.socket"));
    const QString lockPath = runtime.filePath(QStringLiteral("tapetor.lock"));
    QtSingleInstance running(socket, lockPath);
    running.onHandOver = [](SingleInstance::Command) { return true; };
    ASSERT_EQ(running.claim(), SingleInstance::Claim::First);
    // The copy has run for a while; and on a file system whose locks do not reach other
    // processes (a home on NFS) only the lock file's contents tell that it lives.
    QFile held(lockPath);
    ASSERT_TRUE(held.open(QIODevice::ReadOnly));
    const QByteArray contents = held.readAll();
    held.close();
    ASSERT_TRUE(QFile::remove(lockPath));
    QFile copy(lockPath);
    ASSERT_TRUE(copy.open(QIODevice::WriteOnly) && copy.write(contents) == contents.size() && copy.flush());
    ASSERT_TRUE(copy.setFileTime(QDateTime::currentDateTime().addSecs(-120), QFileDevice::FileModificationTime));
    copy.close();

    // The second start waits for an answer on its own thread while this one answers.
    QtSingleInstance second(socket, lockPath);
    std::atomic<int> claimed{-1};
    std::thread start([&] { claimed = int(second.claim()); });
    while (claimed < 0)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    start.join();
    EXPECT_EQ(claimed, int(SingleInstance::Claim::HandedOver));
}

// A copy killed earlier left its lock, and this start was given the dead copy's process
// number.
TEST(QtSingleInstance, ALockThatNamesThisVeryProcessIsTakenOverAtOnce)
{
    QTemporaryDir runtime;
    QByteArray naming;
    {
        QLockFile own(runtime.filePath(QStringLiteral("own.lock")));
        ASSERT_TRUE(own.tryLock());
        QFile contents(own.fileName());
        ASSERT_TRUE(contents.open(QIODevice::ReadOnly));
        naming = contents.readAll();
    }
    const QString lockPath = runtime.filePath(QStringLiteral("tapetor.lock"));
    QFile left(lockPath);
    ASSERT_TRUE(left.open(QIODevice::WriteOnly) && left.write(naming) == naming.size());
    left.close();

    QtSingleInstance start(runtime.filePath(QStringLiteral("tapetor.socket")), lockPath);
    start.onHandOver = [](SingleInstance::Command) { return true; };
    EXPECT_EQ(start.claim(), SingleInstance::Claim::First);
}
