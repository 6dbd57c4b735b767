// The window's resident memory over a tray copy's months: the long run's 20,000 changes
// (tests/window/LongRun.h) with every service faked but the decoder's pictures real.
// Prints the resident size after the first 1,000 changes, at the end, and the growth
// between them, in KiB. Build without the sanitizers: AddressSanitizer keeps freed
// memory aside on purpose.
//
//   bench_long_run

#include "LongRun.h"

#include <QFile>

#include <cstdio>
#include <unistd.h>

namespace {

// Resident memory of this process, from the second field of /proc/self/statm.
qint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * sysconf(_SC_PAGESIZE) : -1;
}

} // namespace

TEST_F(LongRun, ResidentMemory)
{
    qint64 afterFirstThousand = -1;
    std::vector<int> seenWidths;
    makeChanges(seenWidths, [&](int made) {
        if (made == 1000)
            afterFirstThousand = residentBytes();
    });
    ASSERT_FALSE(HasFatalFailure());
    const qint64 atTheEnd = residentBytes();
    std::printf("resident after 1000 changes: %lld KiB, after %d: %lld KiB, growth: %lld KiB\n",
                afterFirstThousand / 1024, Changes, atTheEnd / 1024, (atTheEnd - afterFirstThousand) / 1024);
}
