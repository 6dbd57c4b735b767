// Measures what a user of the window waits for, driving the real window with the real
// decoder, bitmap writer and X root window (the other services faked):
//
//   bench_window PHOTO_4K PHOTO_45MP RUNS
//
// Prints, in milliseconds: Qt's own start-up and the window's first show; the visible
// latency of a change (its start until the desktop has the picture) beside the
// hand-over alone; and the longest the event loop went without handling events (the
// worst lateness of a 5 ms timer) during a change of a 4K and of a 45 MP photo until the
// desktop has it, and while a 45 MP photo is decoded after a click in the list and after
// a change. Needs DISPLAY (bench/run.sh starts Xvfb).

#include "platform/BitmapWriter.h"
#include "platform/PictureDecoder.h"
#include "platform/fakes/FakeServiceSet.h"
#include "platform/linux/wallpaper/LinuxWallpaperSetter.h"
#include "platform/linux/wallpaper/X11RootWallpaper.h"
#include "platform/qt/ThreadedBackgroundWork.h"
#include "platform/qt/ThreadedBitmapWriter.h"
#include "platform/qt/ThreadedPictureDecoder.h"
#include "ui/PreviewBox.h"
#include "ui/frmConsole.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

struct Timing {
    double min = 0;
    double median = 0;
    double worst = 0;
};

Timing summary(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    return {ms.front(), ms[ms.size() / 2], ms.back()};
}

// Notes when the desktop took the picture.
class TimedSetter final : public WallpaperSetter {
public:
    explicit TimedSetter(WallpaperSetter& real)
        : m_real(real)
    {
    }
    bool setWallpaper(const QString& bmpPath, int style, const QImage* picture) override
    {
        const bool taken = m_real.setWallpaper(bmpPath, style, picture);
        handedOver.start();
        ++handOvers;
        return taken;
    }
    bool readsBitmapFile() const override { return m_real.readsBitmapFile(); }
    // Written by the change's worker, read once it has finished.
    QElapsedTimer handedOver;
    std::atomic<int> handOvers{0};

private:
    WallpaperSetter& m_real;
};

// The worst lateness of a 5 ms timer while `step` runs and until `done` holds.
double longestGap(const std::function<void()>& step, const std::function<bool()>& done)
{
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(5);
    QElapsedTimer since;
    double worst = 0;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        worst = std::max(worst, double(since.nsecsElapsed()) / 1e6 - 5);
        since.restart();
    });
    since.start();
    timer.start();
    step();
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    // A gap at the very end counts too.
    QCoreApplication::processEvents();
    worst = std::max(worst, double(since.nsecsElapsed()) / 1e6 - 5);
    return std::max(worst, 0.0);
}

QString collection(const QString& folder, const QStringList& pictures)
{
    QString file = folder + QStringLiteral("/bench.tkl");
    QFile out(file);
    if (out.open(QIODevice::WriteOnly))
        for (const QString& picture : pictures)
            out.write(picture.toLocal8Bit() + "\r\n");
    return file;
}

} // namespace

int main(int argc, char** argv)
{
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    const double qtStart = double(clock.nsecsElapsed()) / 1e6;
    QApplication::setQuitOnLastWindowClosed(false);
    if (argc != 4) {
        std::fprintf(stderr, "usage: bench_window PHOTO_4K PHOTO_45MP RUNS\n");
        return 2;
    }
    const QString photo4k = QString::fromLocal8Bit(argv[1]);
    const QString photo45 = QString::fromLocal8Bit(argv[2]);
    const int runs = std::max(1, atoi(argv[3]));

    FakeServiceSet fakes;
    const auto desktop = makeLinuxWallpaperSetter();
    TimedSetter setter(*desktop);
    ThreadedPictureDecoder decoder;
    ThreadedBitmapWriter bitmaps;
    ThreadedBackgroundWork changes;
    PlatformServices services = fakes.services();
    services.changes = &changes;
    services.wallpaper = &setter;
    services.decoder = &decoder;
    services.bitmaps = &bitmaps;

    clock.restart();
    auto window = std::make_unique<frmConsole>(services, QString());
    window->show();
    QCoreApplication::processEvents();
    const double firstShow = double(clock.nsecsElapsed()) / 1e6;
    std::printf("%-52s %9s %9s %9s\n", "(ms)", "min", "median", "worst");
    std::printf("%-52s %9.1f\n", "Qt's own start-up (QApplication)", qtStart);
    std::printf("%-52s %9.1f\n", "the window built and first shown", firstShow);

    // Two 4K photos that take turns; the change is made with the picture decoded.
    auto* list = window->findChild<QListView*>(QStringLiteral("kolekce"));
    // The row becomes current and marked.
    const auto selectRow = [list](int row) {
        list->selectionModel()->setCurrentIndex(list->model()->index(row, 0), QItemSelectionModel::SelectCurrent);
    };
    // A collection is chosen, or the change would only say there is none.
    window->options().setCollection(fakes.temp.filePath(QStringLiteral("bench.tkl")));
    const QString second = fakes.temp.filePath(QStringLiteral("second.jpg"));
    QFile::copy(photo4k, second);
    window->LoadCollection(collection(fakes.temp.path(), {photo4k, second}), [] {});
    selectRow(0);
    std::vector<double> visible;
    std::vector<double> handOver;
    for (int i = 0; i < runs; ++i) {
        decoder.finish();
        bitmaps.finish();
        QElapsedTimer change;
        change.start();
        window->changeNow_Click();
        changes.finish();
        if (!setter.handedOver.isValid()) {
            std::fprintf(stderr, "no change was made\n");
            return 1;
        }
        visible.push_back(double(change.nsecsElapsed() - setter.handedOver.nsecsElapsed()) / 1e6);
        decoder.finish();
        bitmaps.finish();
        const QImage picture = window->findChild<PreviewBox*>(QStringLiteral("nahled"))->picture();
        QElapsedTimer alone;
        alone.start();
        setRootWindowWallpaper(picture, 1);
        handOver.push_back(double(alone.nsecsElapsed()) / 1e6);
    }
    const Timing shown = summary(visible);
    const Timing root = summary(handOver);
    std::printf("%-52s %9.1f %9.1f %9.1f\n", "change: its start until the desktop has the picture", shown.min,
                shown.median, shown.worst);
    std::printf("%-52s %9.1f %9.1f %9.1f  ratio %.2f (%.2f)  target <= 1.25\n",
                "  hand-over alone (composition + root window)", root.min, root.median, root.worst,
                shown.median / root.median, shown.min / root.min);

    // The window's own part of a change, with its picture decoded: everything slow runs
    // beside it until the desktop has the picture.
    const auto gapOfAChange = [&](const QString& photo) {
        window->LoadCollection(collection(fakes.temp.path(), {photo, photo}), [] {});
        std::vector<double> gaps;
        for (int i = 0; i < runs; ++i) {
            selectRow(0);
            decoder.finish();
            changes.finish();
            bitmaps.finish();
            const int before = setter.handOvers;
            gaps.push_back(longestGap([&] { window->changeNow_Click(); }, [&] { return setter.handOvers > before; }));
        }
        changes.finish();
        decoder.finish();
        return summary(gaps);
    };
    for (const auto& [name, photo] : {std::pair{"longest event gap: a change of a 4K photo", photo4k},
                                      std::pair{"longest event gap: a change of a 45 MP photo", photo45}}) {
        const Timing gap = gapOfAChange(photo);
        std::printf("%-52s %9.1f %9.1f %9.1f  target < 50\n", name, gap.min, gap.median, gap.worst);
    }

    // A 45 MP photo beside a small one: a click on it, a change that prepares it, and a
    // change asked for right after the click, while the photo is still being decoded.
    window->LoadCollection(collection(fakes.temp.path(), {photo45, photo4k}), [] {});
    std::vector<double> clickGaps;
    std::vector<double> changeGaps;
    std::vector<double> waitingGaps;
    for (int i = 0; i < runs; ++i) {
        selectRow(1);
        decoder.finish();
        clickGaps.push_back(longestGap([&] { selectRow(0); }, [&] { return !decoder.pending(); }));
        selectRow(1);
        decoder.finish();
        bitmaps.finish();
        // The change applies the small photo, writes its bitmap and prepares the big one;
        // the gap is measured from its end, while the bitmap is written and the photo decoded.
        window->changeNow_Click();
        changeGaps.push_back(longestGap([] {}, [&] { return !decoder.pending(); }));
        changes.finish();
        bitmaps.finish();

        selectRow(1);
        decoder.finish();
        const int before = setter.handOvers;
        waitingGaps.push_back(longestGap(
            [&] {
                selectRow(0);
                window->changeNow_Click();
            },
            [&] { return setter.handOvers > before && !decoder.pending(); }));
        changes.finish();
        bitmaps.finish();
    }
    const Timing clickGap = summary(clickGaps);
    const Timing changeGap = summary(changeGaps);
    std::printf("%-52s %9.1f %9.1f %9.1f  target < 50\n", "longest event gap: click decoding a 45 MP photo",
                clickGap.min, clickGap.median, clickGap.worst);
    std::printf("%-52s %9.1f %9.1f %9.1f  target < 50\n", "longest event gap: after a change, 45 MP photo next",
                changeGap.min, changeGap.median, changeGap.worst);
    const Timing waitingGap = summary(waitingGaps);
    std::printf("%-52s %9.1f %9.1f %9.1f  target < 50\n", "longest event gap: a change waiting for a 45 MP photo",
                waitingGap.min, waitingGap.median, waitingGap.worst);
    window.reset();
    return 0;
}
