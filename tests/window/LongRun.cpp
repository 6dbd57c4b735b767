#include "LongRun.h"

#include <QCheckBox>

void LongRun::makeChanges(std::vector<int>& seenWidths, const std::function<void(int)>& afterChange)
{
    for (int i = 0; i < 10; ++i)
        pictures << makePicture(QStringLiteral("p%1.png").arg(i), QColor::fromHsv(i * 36, 200, 200), 8 + i, 6);
    storeOption(QStringLiteral("kolekce"), writeCollection(QStringLiteral("deset.tkl"), pictures));
    storeOption(QStringLiteral("run"), QStringLiteral("1"));
    storeOption(QStringLiteral("afterinterval"), QStringLiteral("True"));
    // One change every 3 seconds of the fake clock.
    storeOption(QStringLiteral("interval"), QStringLiteral("0.05"));
    if (inMemory.isValid())
        location.dir = inMemory.path();
    start();

    int changes = 0;
    seenWidths.assign(10, 0);
    wallpaper.onCall = [&] { ++changes; };
    QCheckBox* random = control<QCheckBox>("Check3");
    while (changes < Changes) {
        const int before = changes;
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
        if (afterChange)
            afterChange(changes);
    }
}
