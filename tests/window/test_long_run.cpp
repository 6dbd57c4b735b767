// A program that sits in the tray for months: 20,000 changes through the scheduler,
// half of them in random order, must leave nothing behind that grows.
#include "WindowFixture.h"

#include <QDir>
#include <QFile>

#if defined(Q_OS_WIN)
#include <windows.h>
#include <psapi.h>
#else
#include <unistd.h>
#endif

namespace {

#if defined(Q_OS_WIN)
// Resident memory of this process: its working set.
qint64 residentBytes()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    return GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters)) ? qint64(counters.WorkingSetSize)
                                                                                  : -1;
}
#else
// Resident memory of this process, from the second field of /proc/self/statm.
qint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * sysconf(_SC_PAGESIZE) : -1;
}
#endif

// AddressSanitizer keeps freed memory aside for a while to catch late uses, so the
// resident size of a sanitizer build grows by design; its leak checker covers that
// build instead.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool MemoryIsMeasurable = false;
#else
constexpr bool MemoryIsMeasurable = true;
#endif

} // namespace

class LongRun : public WindowFixture { };

TEST_F(LongRun, TwentyThousandChangesLeaveTheMemoryAndTheFoldersAsTheyWere)
{
    QStringList pictures;
    for (int i = 0; i < 10; ++i)
        pictures << makePicture(QStringLiteral("p%1.png").arg(i), QColor::fromHsv(i * 36, 200, 200), 8 + i, 6);
    storeOption(QStringLiteral("kolekce"), writeCollection(QStringLiteral("deset.tkl"), pictures));
    storeOption(QStringLiteral("run"), QStringLiteral("1"));
    storeOption(QStringLiteral("afterinterval"), QStringLiteral("True"));
    // One change every 3 seconds of the fake clock.
    storeOption(QStringLiteral("interval"), QStringLiteral("0.05"));
    // 20,000 bitmaps written and renamed: in memory when the system has a place for it,
    // so the run measures the program rather than the disk.
#if defined(Q_OS_LINUX)
    QTemporaryDir inMemory(QStringLiteral("/dev/shm/tapetor-long-run-XXXXXX"));
    if (inMemory.isValid())
        location.dir = inMemory.path();
#endif
    start();

    int changes = 0;
    std::vector<int> seenWidths(10, 0);
    wallpaper.onCall = [&] { ++changes; };
    QCheckBox* random = control<QCheckBox>("Check3");
    qint64 afterFirstThousand = -1;
    const int total = 20000;
    while (changes < total) {
        const int before = changes;
        // Runs of 250 changes, alternately in list order and at random.
        random->setChecked((changes / 250) % 2 == 1);
        for (int seconds = 0; changes == before; ++seconds) {
            ASSERT_LT(seconds, 5) << "no change came after " << changes << " changes";
            tick(1000);
        }
        const int width = wallpaper.calls.back().pictureSize.width();
        ASSERT_GE(width, 8);
        ASSERT_LT(width, 18);
        ++seenWidths[size_t(width - 8)];
        // The recorder's own list would grow with every change; it is not ours to measure.
        wallpaper.calls.clear();
        if (changes == 1000)
            afterFirstThousand = residentBytes();
    }
    const qint64 atTheEnd = residentBytes();

    EXPECT_EQ(list()->count(), 10);
    EXPECT_EQ(entries(), pictures);
    EXPECT_LE(markedRows().size(), 2);
    for (int i = 0; i < 10; ++i)
        EXPECT_GT(seenWidths[size_t(i)], 1000) << "picture " << i << " came round too seldom";
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(QDir(location.dir).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("tapetor.bmp")})
        << "nothing piles up beside the bitmap";
    EXPECT_FALSE(QDir(location.dataDir).exists() && !QDir(location.dataDir).isEmpty());

    ASSERT_GT(afterFirstThousand, 0);
    std::cout << "[ memory   ] resident after 1,000 changes: " << afterFirstThousand / 1024
              << " KiB, after 20,000: " << atTheEnd / 1024 << " KiB" << std::endl;
    if (MemoryIsMeasurable) {
        EXPECT_LT(atTheEnd - afterFirstThousand, 5 * 1024 * 1024);
    }
}
