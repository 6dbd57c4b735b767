#include "engine/WallpaperBitmap.h"
#include "platform/linux/wallpaper/LinuxWallpaperSetter.h"
#include "platform/linux/wallpaper/PcmanfmState.h"
#include "platform/linux/wallpaper/ProcessToolRunner.h"
#include "platform/linux/wallpaper/SwaybgProcess.h"
#include "platform/linux/wallpaper/UncompressedPng.h"
#include "platform/linux/wallpaper/WallpaperCopy.h"
#include "FileSizeLimit.h"
#include "test_pictures_support.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QtEndian>

#include <csignal>
#include <zlib.h>

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

using namespace testpics;

namespace {

struct RanCall {
    QString program;
    QStringList arguments;
};

class FakeToolRunner final : public ToolRunner {
public:
    bool run(const QString& program, const QStringList& arguments, QByteArray* output) override
    {
        calls.push_back({program, arguments});
        if (onRun)
            onRun(arguments);
        if (output)
            *output = outputs[program];
        for (const QString& failing : failingArguments) {
            if (arguments.contains(failing))
                return false;
        }
        return !missingPrograms.contains(program);
    }
    // The value gsettings was last given for key.
    QString lastValueOf(const QString& key) const
    {
        for (auto it = calls.rbegin(); it != calls.rend(); ++it) {
            if (it->arguments.size() == 4 && it->arguments[2] == key)
                return it->arguments[3];
        }
        return {};
    }

    std::vector<RanCall> calls;
    std::map<QString, QByteArray> outputs;
    QStringList missingPrograms;
    QStringList failingArguments;
    // Stands in for what the tool does besides answering.
    std::function<void(const QStringList& arguments)> onRun;
};

struct RootCall {
    QImage picture;
    int style;
};

struct SwaybgCall {
    QString picturePath;
    QStringList arguments;
};

class SetterTest : public testing::Test {
protected:
    LinuxWallpaperSetter makeSetter(DesktopKind desktop)
    {
        return LinuxWallpaperSetter(
            desktop, runner, copies(),
            [this](const QImage& picture, int style) {
                rootCalls.push_back({picture, style});
                return rootAccepts;
            },
            {}, {},
            [this](const QString& picturePath, const QStringList& arguments) {
                swaybgCalls.push_back({picturePath, arguments});
                return swaybgAccepts;
            });
    }
    QString copies() const { return dir.filePath(QStringLiteral("data/tapetor")); }
    QStringList copyFiles() const { return QDir(copies()).entryList(QDir::Files); }
    QString bmp() const { return dir.filePath(QStringLiteral("tapetor.bmp")); }
    static QString uriPath(const QString& quotedUri)
    {
        return QString(quotedUri).remove(QLatin1Char('\'')).remove(QStringLiteral("file://"));
    }

    QTemporaryDir dir;
    FakeToolRunner runner;
    std::vector<RootCall> rootCalls;
    bool rootAccepts = true;
    std::vector<SwaybgCall> swaybgCalls;
    bool swaybgAccepts = true;
};

} // namespace

TEST_F(SetterTest, GnomeGetsAFreshlyNamedPngOnEveryChangeAndOnlyTheNewestStays)
{
    auto setter = makeSetter(DesktopKind::Gnome);
    const QImage first = quadrants(30, 20);
    const QImage second = noise(30, 20);

    ASSERT_TRUE(setter.setWallpaper(bmp(), StyleStretch, &first));
    const QString firstUri = runner.lastValueOf(QStringLiteral("picture-uri"));
    EXPECT_EQ(runner.lastValueOf(QStringLiteral("picture-options")), QStringLiteral("'stretched'"));
    EXPECT_EQ(runner.lastValueOf(QStringLiteral("picture-uri-dark")), firstUri);
    EXPECT_EQ(QImage(uriPath(firstUri)), first);

    // The same bitmap path again: the desktop must still see a new name.
    ASSERT_TRUE(setter.setWallpaper(bmp(), StyleTile, &second));
    const QString secondUri = runner.lastValueOf(QStringLiteral("picture-uri"));
    EXPECT_NE(secondUri, firstUri);
    EXPECT_EQ(runner.lastValueOf(QStringLiteral("picture-options")), QStringLiteral("'wallpaper'"));
    EXPECT_EQ(QImage(uriPath(secondUri)), second);
    EXPECT_EQ(copyFiles(), QStringList{QFileInfo(uriPath(secondUri)).fileName()});
}

TEST_F(SetterTest, OnlyBitmapPathsAreAccepted)
{
    auto setter = makeSetter(DesktopKind::Gnome);
    const QImage picture = quadrants(10, 10);
    EXPECT_FALSE(setter.setWallpaper(dir.filePath(QStringLiteral("photo.jpg")), StyleCenter, &picture));
    EXPECT_TRUE(runner.calls.empty());
    EXPECT_TRUE(setter.setWallpaper(dir.filePath(QStringLiteral("TAPETOR.BMP")), StyleCenter, &picture));
}

TEST_F(SetterTest, WithoutADecodedPictureTheBitmapIsRead)
{
    auto setter = makeSetter(DesktopKind::X11Root);
    const QImage picture = quadrants(12, 8);
    ASSERT_TRUE(writeWallpaperBitmap(picture, bmp()));
    EXPECT_TRUE(setter.setWallpaper(bmp(), StyleCenter, nullptr));
    const QImage none;
    EXPECT_TRUE(setter.setWallpaper(bmp(), StyleTile, &none));
    ASSERT_EQ(rootCalls.size(), 2u);
    EXPECT_EQ(rootCalls[0].picture.convertToFormat(QImage::Format_RGB32), picture);
    EXPECT_EQ(rootCalls[1].style, StyleTile);

    QFile::remove(bmp());
    EXPECT_FALSE(setter.setWallpaper(bmp(), StyleCenter, nullptr));
    EXPECT_EQ(rootCalls.size(), 2u);
}

TEST_F(SetterTest, TheRootWindowKeepsTheLastStyleForAnInvalidCode)
{
    auto setter = makeSetter(DesktopKind::X11Root);
    const QImage picture = quadrants(10, 10);
    ASSERT_TRUE(setter.setWallpaper(bmp(), 7, &picture));
    ASSERT_TRUE(setter.setWallpaper(bmp(), StyleTile, &picture));
    ASSERT_TRUE(setter.setWallpaper(bmp(), -1, &picture));
    ASSERT_EQ(rootCalls.size(), 3u);
    EXPECT_EQ(rootCalls[0].style, StyleCenter);
    EXPECT_EQ(rootCalls[1].style, StyleTile);
    EXPECT_EQ(rootCalls[2].style, StyleTile);
    rootAccepts = false;
    EXPECT_FALSE(setter.setWallpaper(bmp(), StyleCenter, &picture));
}

TEST_F(SetterTest, AMissingOrFailingToolFailsTheChangeAndKeepsTheShownCopy)
{
    auto setter = makeSetter(DesktopKind::Gnome);
    const QImage picture = quadrants(10, 10);
    ASSERT_TRUE(setter.setWallpaper(bmp(), StyleCenter, &picture));
    const QStringList shown = copyFiles();
    ASSERT_EQ(shown.size(), 1);

    runner.missingPrograms = {QStringLiteral("gsettings")};
    EXPECT_FALSE(setter.setWallpaper(bmp(), StyleCenter, &picture));
    EXPECT_EQ(copyFiles(), shown);

    runner.missingPrograms.clear();
    runner.failingArguments = {QStringLiteral("picture-uri")};
    EXPECT_FALSE(setter.setWallpaper(bmp(), StyleCenter, &picture));
    EXPECT_EQ(copyFiles(), shown);
}

TEST_F(SetterTest, ACopyThatCannotBeWrittenIsSaidOnceForEachRunOfFailures)
{
    auto setter = makeSetter(DesktopKind::Gnome);
    QStringList said;
    setter.setProblemReport([&](const QString& line) { said << line; });
    const QImage picture = noise(64, 64);
    // Whether the disk is full at each change, and how many lines have been said after it.
    const std::pair<bool, int> changes[] = {{true, 1}, {true, 1}, {true, 1}, {false, 1}, {false, 1}, {true, 2}};
    int step = 0;
    for (const auto& [full, lines] : changes) {
        SCOPED_TRACE(step++);
        if (full) {
            const FileSizeLimit limit{100};
            EXPECT_FALSE(setter.setWallpaper(bmp(), StyleCenter, &picture));
        } else {
            EXPECT_TRUE(setter.setWallpaper(bmp(), StyleCenter, &picture));
        }
        EXPECT_EQ(said.size(), lines);
    }
    ASSERT_FALSE(said.isEmpty());
    EXPECT_TRUE(said.front().contains(copies())) << said.front().toStdString();
    EXPECT_FALSE(said.front().contains(QLatin1Char('\n')));
}

TEST_F(SetterTest, AnOlderGnomeWithoutTheDarkPictureKeyStillChanges)
{
    auto setter = makeSetter(DesktopKind::Gnome);
    runner.failingArguments = {QStringLiteral("picture-uri-dark")};
    const QImage picture = quadrants(10, 10);
    EXPECT_TRUE(setter.setWallpaper(bmp(), StyleCenter, &picture));
}

TEST_F(SetterTest, XfceChangesEveryListedWorkspaceAndFailsWhenThereIsNone)
{
    auto setter = makeSetter(DesktopKind::Xfce);
    const QImage picture = quadrants(10, 10);
    runner.outputs[QStringLiteral("xfconf-query")]
        = "/backdrop/screen0/monitor0/workspace0/last-image\n/backdrop/screen0/monitor0/workspace1/last-image\n";
    ASSERT_TRUE(setter.setWallpaper(bmp(), StyleTile, &picture));
    int pathsSet = 0;
    for (const RanCall& call : runner.calls) {
        if (call.arguments.size() == 9 && call.arguments[8].endsWith(QLatin1String(".png")))
            ++pathsSet;
    }
    EXPECT_EQ(pathsSet, 2);

    runner.outputs[QStringLiteral("xfconf-query")] = "/desktop-icons/style\n";
    EXPECT_FALSE(setter.setWallpaper(bmp(), StyleTile, &picture));
}

TEST_F(SetterTest, ToolDesktopsRunTheirOwnProgram)
{
    const struct {
        DesktopKind desktop;
        const char* program;
    } cases[] = {
        {DesktopKind::Cinnamon, "gsettings"}, {DesktopKind::Mate, "gsettings"},  {DesktopKind::Kde, "dbus-send"},
        {DesktopKind::Lxde, "pcmanfm"},       {DesktopKind::Lxqt, "pcmanfm-qt"}, {DesktopKind::Sway, "swaymsg"},
    };
    const QImage picture = quadrants(10, 10);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.program);
        runner.calls.clear();
        auto setter = makeSetter(c.desktop);
        EXPECT_TRUE(setter.setWallpaper(bmp(), StyleCenter, &picture));
        ASSERT_FALSE(runner.calls.empty());
        EXPECT_EQ(runner.calls.back().program, QString::fromLatin1(c.program));
    }
    EXPECT_TRUE(rootCalls.empty());
}

TEST_F(SetterTest, OtherWaylandCompositorsGetAFreshCopyFromSwaybgAndKeepTheShownOneWhenItFails)
{
    auto setter = makeSetter(DesktopKind::Swaybg);
    const QImage first = quadrants(30, 20);
    const QImage second = noise(30, 20);
    ASSERT_TRUE(setter.setWallpaper(bmp(), StyleTile, &first));
    ASSERT_EQ(swaybgCalls.size(), 1u);
    const QString firstCopy = swaybgCalls[0].picturePath;
    EXPECT_EQ(QImage(firstCopy), first);
    EXPECT_EQ(swaybgCalls[0].arguments.mid(2, 4),
              (QStringList{QStringLiteral("-i"), firstCopy, QStringLiteral("-m"), QStringLiteral("tile")}));

    // swaybg needs a mode on every start: an invalid code keeps the last one.
    ASSERT_TRUE(setter.setWallpaper(bmp(), 7, &second));
    ASSERT_EQ(swaybgCalls.size(), 2u);
    const QString secondCopy = swaybgCalls[1].picturePath;
    EXPECT_NE(secondCopy, firstCopy);
    EXPECT_EQ(swaybgCalls[1].arguments.mid(2, 4),
              (QStringList{QStringLiteral("-i"), secondCopy, QStringLiteral("-m"), QStringLiteral("tile")}));
    EXPECT_EQ(copyFiles(), QStringList{QFileInfo(secondCopy).fileName()});

    // A swaybg that ends before drawing leaves the running one and its copy alone.
    swaybgAccepts = false;
    EXPECT_FALSE(setter.setWallpaper(bmp(), StyleCenter, &first));
    EXPECT_EQ(copyFiles(), QStringList{QFileInfo(secondCopy).fileName()});
    EXPECT_TRUE(runner.calls.empty());
    EXPECT_TRUE(rootCalls.empty());
}

TEST(SwaybgProcessTest, OnlyARunningSwaybgOfOursIsFoundAgain)
{
    QTemporaryDir dir;
    const QString pidFile = swaybgPidFile(dir.path(), QStringLiteral("/run/user/1000/wayland-1"));
    EXPECT_EQ(pidFile, dir.filePath(QStringLiteral("tapetor-swaybg-_run_user_1000_wayland-1.pid")));
    EXPECT_EQ(swaybgPidFile(dir.path(), {}), dir.filePath(QStringLiteral("tapetor-swaybg-wayland-0.pid")));
    EXPECT_EQ(runningSwaybg(pidFile, dir.path()), 0);

    const auto writePid = [&](const QByteArray& text) {
        QFile file(pidFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    };
    // A running process that is no swaybg (a reused pid) is never ended.
    writePid(QByteArray::number(QCoreApplication::applicationPid()));
    EXPECT_EQ(runningSwaybg(pidFile, dir.path()), 0);
    writePid("-1\n");
    EXPECT_EQ(runningSwaybg(pidFile, dir.path()), 0);

    // A program called swaybg that shows one of our copies is ours; one showing a
    // picture from elsewhere is somebody else's.
    const QString swaybg = dir.filePath(QStringLiteral("swaybg"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/usr/bin/tail"), swaybg));
    const QString copy = dir.filePath(QStringLiteral("tapetor-1.png"));
    QFile copyFile(copy);
    ASSERT_TRUE(copyFile.open(QIODevice::WriteOnly));
    copyFile.write("x\n");
    copyFile.close();
    QProcess process;
    process.start(swaybg, {QStringLiteral("-f"), copy});
    // Started can come before the program has taken the process over; its first output
    // cannot.
    ASSERT_TRUE(process.waitForReadyRead());
    writePid(QByteArray::number(process.processId()) + '\n');
    EXPECT_EQ(runningSwaybg(pidFile, dir.path()), process.processId());
    EXPECT_EQ(runningSwaybg(pidFile, dir.filePath(QStringLiteral("other"))), 0);
    process.kill();
    process.waitForFinished();
    EXPECT_EQ(runningSwaybg(pidFile, dir.path()), 0);
}

TEST(SwaybgProcessTest, TheShownOneEndsOnlyAfterTheNewOneHasReadItsPicture)
{
    QTemporaryDir dir;
    // A swaybg that takes its time before reading, as one does while the compositor
    // configures its surface. Ended, it notes how many had read their picture by then;
    // it listens for the end before it reads, as the moment it sleeps after reading may
    // already be the moment it is told to end.
    const QString fake = dir.filePath(QStringLiteral("swaybg"));
    ASSERT_TRUE(writeAll(fake, R"sh(#!/bin/bash
sleep 0.2
exec -a swaybg bash -c 'trap "ls $0/read.* | wc -l >$0/n.$$; mv $0/n.$$ $0/ended.$$; exit" TERM
touch $0/read.$$; cat "$1" >/dev/null; for _ in {1..30}; do sleep 1 & wait; done' "$(dirname "$0")" "$2"
)sh"));
    ASSERT_TRUE(QFile::setPermissions(fake, QFile::ReadOwner | QFile::ExeOwner));
    struct PathGuard {
        QByteArray saved = qgetenv("PATH");
        ~PathGuard() { qputenv("PATH", saved); }
    } path;
    qputenv("PATH", QFile::encodeName(dir.path()) + ':' + path.saved);
    const QString pidFile = dir.filePath(QStringLiteral("swaybg.pid"));
    SwaybgProcess swaybg(pidFile, dir.path());
    qint64 shown[2] = {};
    for (qint64& pid : shown) {
        const QString picture = dir.filePath(QStringLiteral("tapetor-%1.png").arg(&pid - shown));
        ASSERT_TRUE(writeAll(picture, "png"));
        EXPECT_TRUE(swaybg.replace(picture, {QStringLiteral("-i"), picture}));
        pid = runningSwaybg(pidFile, dir.path());
    }
    ASSERT_GT(shown[0], 0);
    ASSERT_NE(shown[1], shown[0]);
    ::kill(static_cast<pid_t>(shown[1]), SIGTERM);
    for (const qint64 pid : shown) {
        QFile ended(dir.filePath(QStringLiteral("ended.%1").arg(pid)));
        QDeadlineTimer bound(5000);
        while (!ended.exists() && !bound.hasExpired())
            QThread::msleep(5);
        ASSERT_TRUE(ended.open(QIODevice::ReadOnly)) << "swaybg " << pid << " was not ended";
        EXPECT_EQ(ended.readAll().trimmed(), "2");
    }
}

TEST_F(SetterTest, NoDesktopNoWallpaper)
{
    auto setter = makeSetter(DesktopKind::Unsupported);
    const QImage picture = quadrants(10, 10);
    EXPECT_FALSE(setter.setWallpaper(bmp(), StyleCenter, &picture));
    EXPECT_TRUE(runner.calls.empty());
    EXPECT_TRUE(rootCalls.empty());
}

TEST(WallpaperCopyTest, NamesChangeWithTheStampAndOnlyOurCopiesAreRemoved)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("new/folder"));
    const QImage picture = quadrants(6, 4);
    const QString first = writeWallpaperCopy(picture, folder, 100);
    EXPECT_EQ(QFileInfo(first).fileName(), QStringLiteral("tapetor-100.png"));
    // A name already taken is never reused: the desktop would not notice the change.
    const QString second = writeWallpaperCopy(picture, folder, 100);
    EXPECT_EQ(QFileInfo(second).fileName(), QStringLiteral("tapetor-101.png"));
    ASSERT_TRUE(writeAll(folder + QStringLiteral("/tapetor.bmp"), "bmp"));
    ASSERT_TRUE(writeAll(folder + QStringLiteral("/tapetor-x.png"), "someone else's"));

    removeWallpaperCopies(folder, second);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files),
              (QStringList{QStringLiteral("tapetor-101.png"), QStringLiteral("tapetor-x.png"),
                           QStringLiteral("tapetor.bmp")}));
    EXPECT_TRUE(isWallpaperCopyName(QStringLiteral("tapetor-1700000000000.png")));
    EXPECT_FALSE(isWallpaperCopyName(QStringLiteral("tapetor.bmp")));
    EXPECT_TRUE(writeWallpaperCopy(QImage(), folder, 5).isEmpty());
}

namespace {

// Checks what a lenient reader may skip: every chunk's CRC, the zlib stream's own
// checksum, and that IEND ends the file. Returns the inflated rows.
QByteArray strictlyInflated(const QByteArray& png)
{
    if (!png.startsWith(QByteArray("\x89PNG\r\n\x1a\n", 8)))
        return {};
    QByteArray stream;
    qsizetype at = 8;
    QByteArray type;
    while (at + 12 <= png.size() && type != "IEND") {
        const auto* p = reinterpret_cast<const uchar*>(png.constData()) + at;
        const quint32 length = qFromBigEndian<quint32>(p);
        type = png.mid(at + 4, 4);
        if (at + 12 + qsizetype(length) > png.size()
            || crc32(0, p + 4, 4 + length) != qFromBigEndian<quint32>(p + 8 + length))
            return {};
        if (type == "IDAT")
            stream += png.mid(at + 8, length);
        at += 12 + length;
    }
    if (type != "IEND" || at != png.size())
        return {};
    QByteArray rows(64 << 20, '\0');
    uLongf size = uLongf(rows.size());
    if (uncompress(reinterpret_cast<Bytef*>(rows.data()), &size, reinterpret_cast<const Bytef*>(stream.constData()),
                   uLong(stream.size()))
        != Z_OK)
        return {};
    rows.truncate(qsizetype(size));
    return rows;
}

} // namespace

TEST(UncompressedPngTest, ReadsBackExactlyWhateverThePictureHolds)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("copy.png"));
    // 701 pixels a row: more than one stored block a band, three bands, odd width.
    const QImage colour = noise(701, 150);
    QImage translucent = quadrants(33, 9, QImage::Format_ARGB32);
    translucent.setPixel(1, 1, qRgba(200, 100, 50, 128));
    QImage overBlack = translucent.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    overBlack.reinterpretAsFormat(QImage::Format_RGB32);
    const struct {
        const char* name;
        QImage picture;
        QImage expected;
    } cases[] = {
        {"rgb32", colour, colour},
        {"grey", colour.convertToFormat(QImage::Format_Grayscale8),
         colour.convertToFormat(QImage::Format_Grayscale8).convertToFormat(QImage::Format_RGB32)},
        {"one row", noise(5, 1), noise(5, 1)},
        {"translucent", translucent, overBlack},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(writeUncompressedPng(c.picture, path));
        const QByteArray rows = strictlyInflated(readAll(path));
        EXPECT_EQ(rows.size(), c.picture.height() * (1 + 3 * qsizetype(c.picture.width())));
        const QImage back(path, "PNG");
        ASSERT_FALSE(back.isNull());
        EXPECT_EQ(back.format(), QImage::Format_RGB32);
        EXPECT_EQ(back, c.expected);
    }
    EXPECT_FALSE(writeUncompressedPng(QImage(), path));
    EXPECT_FALSE(writeUncompressedPng(colour, dir.filePath(QStringLiteral("no/such/folder.png"))));
}

TEST(ProcessToolRunnerTest, ReportsExitCodesMissingProgramsAndHangs)
{
    // Time enough for a tool to start on a busy machine; only the hang is cut short.
    ProcessToolRunner runner(10000);
    EXPECT_TRUE(runner.run(QStringLiteral("true"), {}, nullptr));
    EXPECT_FALSE(runner.run(QStringLiteral("false"), {}, nullptr));
    EXPECT_FALSE(runner.run(QStringLiteral("no-such-tool-tapetor"), {}, nullptr));
    QByteArray output;
    EXPECT_TRUE(runner.run(QStringLiteral("printf"),
                           {QStringLiteral("%s|"), QStringLiteral("a b"), QStringLiteral("$HOME")}, &output));
    EXPECT_EQ(output, QByteArray("a b|$HOME|")); // arguments reach the tool untouched
    EXPECT_FALSE(ProcessToolRunner(300).run(QStringLiteral("sleep"), {QStringLiteral("30")}, nullptr));
}

TEST_F(SetterTest, LxdeWithoutARunningPcmanfmFailsWithoutCallingIt)
{
    bool running = false;
    auto setter = LinuxWallpaperSetter(DesktopKind::Lxde, runner, copies(), {}, [&running] { return running; });
    const QImage picture = quadrants(10, 10);
    EXPECT_FALSE(setter.setWallpaper(bmp(), StyleCenter, &picture));
    EXPECT_TRUE(runner.calls.empty());
    EXPECT_TRUE(copyFiles().isEmpty());
    running = true;
    EXPECT_TRUE(setter.setWallpaper(bmp(), StyleCenter, &picture));
    EXPECT_EQ(runner.calls.size(), 1u);
}

// Spins the event loop until done() holds or a few seconds have passed; for file
// events, which arrive in their own time.
bool eventuallyTrue(const std::function<bool()>& done, int withinMs = 3000)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done() && elapsed.elapsed() < withinMs) {
        QEventLoop loop;
        QTimer wake;
        QObject::connect(&wake, &QTimer::timeout, &loop, &QEventLoop::quit);
        wake.start(10);
        loop.exec();
    }
    return done();
}

TEST_F(SetterTest, LxqtModeOutlastsPcmanfmQtWritingItsOwnBack)
{
    const QString config = dir.filePath(QStringLiteral("config/pcmanfm-qt"));
    const auto profile = [&](const QString& name) {
        return std::make_unique<QSettings>(config + QLatin1Char('/') + name + QStringLiteral("/settings.conf"),
                                           QSettings::IniFormat);
    };
    const auto modeIn
        = [&](const QString& name) { return profile(name)->value(QStringLiteral("Desktop/WallpaperMode")).toString(); };
    const auto pcmanfmQtSaves = [&](const QString& name, const QString& picture, const QString& mode) {
        const auto settings = profile(name);
        settings->setValue(QStringLiteral("Desktop/Wallpaper"), picture);
        settings->setValue(QStringLiteral("Desktop/WallpaperMode"), mode);
    };
    const QString lxqt = QStringLiteral("lxqt");
    const QString seat = QStringLiteral("seat2"); // a second desktop of the same user
    profile(QStringLiteral("other"))->setValue(QStringLiteral("Desktop/WallpaperMode"), QStringLiteral("none"));
    // pcmanfm-qt 1.2 stores the picture it is given with the mode it started with.
    runner.onRun = [&](const QStringList& arguments) {
        for (const QString& name : {lxqt, seat})
            pcmanfmQtSaves(name, arguments.value(0).section(QLatin1Char('='), 1), QStringLiteral("none"));
    };
    auto setter = LinuxWallpaperSetter(DesktopKind::Lxqt, runner, copies(), {}, {}, config);
    const QImage picture = quadrants(10, 10);
    ASSERT_TRUE(setter.setWallpaper(bmp(), StyleTile, &picture));
    const QString copy = QDir(copies()).filePath(copyFiles().value(0));
    EXPECT_EQ(modeIn(lxqt), QStringLiteral("tile"));
    EXPECT_EQ(modeIn(QStringLiteral("other")), QStringLiteral("none"));

    // Ending, it writes its own back; a desktop started again must read ours.
    pcmanfmQtSaves(lxqt, copy, QStringLiteral("none"));
    EXPECT_TRUE(eventuallyTrue([&] { return modeIn(lxqt) == QLatin1String("tile"); }));

    // What stays is known once ours is back in the profile written after it.
    const auto afterTheNextPutBack = [&] {
        pcmanfmQtSaves(seat, copy, QStringLiteral("none"));
        return eventuallyTrue([&] { return modeIn(seat) == QLatin1String("tile"); });
    };
    // A mode picked in pcmanfm-qt's own dialog is the user's, and stays.
    pcmanfmQtSaves(lxqt, copy, QStringLiteral("fit"));
    ASSERT_TRUE(afterTheNextPutBack());
    EXPECT_EQ(modeIn(lxqt), QStringLiteral("fit"));
    // So does a picture set by other means.
    pcmanfmQtSaves(lxqt, QStringLiteral("/elsewhere.png"), QStringLiteral("none"));
    ASSERT_TRUE(afterTheNextPutBack());
    EXPECT_EQ(modeIn(lxqt), QStringLiteral("none"));
}

TEST(PcmanfmStateTest, TheSocketIsNamedAfterTheDisplayAndMustListen)
{
    EXPECT_EQ(pcmanfmSocketPath(QStringLiteral("/run/user/5"), QStringLiteral(":0")),
              QStringLiteral("/run/user/5/pcmanfm-socket--0"));
    EXPECT_EQ(pcmanfmSocketPath(QStringLiteral("/r"), QStringLiteral("host:12.0")),
              QStringLiteral("/r/pcmanfm-socket-host-12"));
    const QByteArray table = "Num       RefCount Protocol Flags    Type St Inode Path\n"
                             "0000000000000000: 00000002 00000000 00010000 0001 01 381992 /r/pcmanfm-socket--0\n"
                             "0000000000000000: 00000003 00000000 00000000 0001 03 381999 /r/pcmanfm-socket--1\n";
    EXPECT_TRUE(isListeningUnixSocket(table, QStringLiteral("/r/pcmanfm-socket--0")));
    EXPECT_FALSE(isListeningUnixSocket(table, QStringLiteral("/r/pcmanfm-socket--1"))); // connected, not listening
    EXPECT_FALSE(isListeningUnixSocket(table, QStringLiteral("/r/pcmanfm-socket--2")));
}
