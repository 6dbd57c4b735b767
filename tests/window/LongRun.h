#pragma once

// A tray copy's months: 20,000 changes through the scheduler over ten pictures, in runs
// of 250 alternately in list order and at random. test_long_run checks what they leave
// behind; bench_long_run measures the memory they keep.

#include "WindowFixture.h"

#include <QTemporaryDir>
#include <functional>
#include <vector>

class LongRun : public WindowFixture {
protected:
    static constexpr int Changes = 20000;

    // Makes the changes; `afterChange` is told the count after each. `seenWidths` counts
    // how often each picture (8 to 17 pixels wide) came.
    void makeChanges(std::vector<int>& seenWidths, const std::function<void(int)>& afterChange = {});

    QStringList pictures;
    // 20,000 bitmaps, last pictures and histories written and renamed: in memory, so the
    // run measures the program rather than the disk.
    QTemporaryDir inMemory{QStringLiteral("/dev/shm/tapetor-long-run-XXXXXX")};
    FileShownPictureStore shownInMemory{inMemory.filePath(QStringLiteral("state"))};
};
