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
    PlatformServices all = services();
    if (inMemory.isValid()) {
        location.dir = inMemory.path();
        all.shown = &shownInMemory;
    }
    window = std::make_unique<frmConsole>(all, QString());
    window->Form_Load();

    int made = 0;
    seenWidths.assign(10, 0);
    wallpaper.onCall = [&] { ++made; };
    QCheckBox* random = control<QCheckBox>("Check3");
    while (made < Changes) {
        const int before = made;
        random->setChecked((made / 250) % 2 == 1);
        for (int seconds = 0; made == before; ++seconds) {
            ASSERT_LT(seconds, 5) << "no change came after " << made << " changes";
            tick(1000);
        }
        const int width = wallpaper.calls.back().pictureSize.width();
        ASSERT_GE(width, 8);
        ASSERT_LT(width, 18);
        ++seenWidths[size_t(width - 8)];
        // The recorder's own list would grow with every change; it is not ours to measure.
        wallpaper.calls.clear();
        if (afterChange)
            afterChange(made);
    }
}
