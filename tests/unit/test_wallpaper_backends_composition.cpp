#include "platform/WallpaperSetter.h"
#include "platform/linux/wallpaper/RootComposition.h"
#include "test_pictures_support.h"

#include <QImage>

#include <gtest/gtest.h>

using namespace testpics;

namespace {

const QRgb kBlack = qRgb(0, 0, 0);

QImage screenOf(int width, int height)
{
    QImage screen(width, height, QImage::Format_RGB32);
    screen.fill(Qt::magenta); // anything left unpainted shows
    return screen;
}

QImage compose(const QImage& picture, int style, const QList<QRect>& monitors, QSize size)
{
    QImage screen = screenOf(size.width(), size.height());
    composeRootPicture(picture, style, monitors, screen);
    return screen;
}

// Every pixel of area must equal the picture placed with its top-left at origin,
// or black where the picture does not reach.
void expectPlaced(const QImage& screen, const QRect& area, const QImage& picture, QPoint origin)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QPoint p(x - origin.x(), y - origin.y());
            const QRgb expected = picture.rect().contains(p) ? picture.pixel(p) : kBlack;
            ASSERT_EQ(screen.pixel(x, y), expected) << x << "," << y;
        }
    }
}

} // namespace

TEST(RootCompositionTest, CenterPutsThePictureInTheMiddleWithBlackAround)
{
    const QImage picture = quadrants(6, 4);
    const QImage screen = compose(picture, StyleCenter, {QRect(0, 0, 15, 9)}, {15, 9});
    expectPlaced(screen, screen.rect(), picture, {4, 2}); // odd leftovers go right and down
}

TEST(RootCompositionTest, CenterClipsAPictureLargerThanTheScreenOnEverySide)
{
    const QImage picture = noise(20, 12);
    const QImage screen = compose(picture, StyleCenter, {QRect(0, 0, 10, 6)}, {10, 6});
    expectPlaced(screen, screen.rect(), picture, {-5, -3});
    EXPECT_EQ(centredOrigin({21, 13}, QRect(0, 0, 10, 6)), QPoint(-6, -4));
    EXPECT_EQ(centredOrigin({4, 2}, QRect(100, 50, 10, 6)), QPoint(103, 52));
}

TEST(RootCompositionTest, StretchFillsTheScreenWithoutKeepingProportions)
{
    const QImage picture = quadrants(4, 4);
    const QImage screen = compose(picture, StyleStretch, {QRect(0, 0, 40, 12)}, {40, 12});
    // Smooth scaling blends across the seams; within a source pixel of the corners
    // each quadrant keeps its colour. The square became 40 x 12.
    EXPECT_EQ(screen.pixel(0, 0), kRed);
    EXPECT_EQ(screen.pixel(14, 4), kRed);
    EXPECT_EQ(screen.pixel(25, 0), kLime);
    EXPECT_EQ(screen.pixel(39, 4), kLime);
    EXPECT_EQ(screen.pixel(0, 8), kBlue);
    EXPECT_EQ(screen.pixel(14, 11), kBlue);
    EXPECT_EQ(screen.pixel(25, 8), kYellow);
    EXPECT_EQ(screen.pixel(39, 11), kYellow);
}

TEST(RootCompositionTest, LargeReductionsAverageEveryPixelInsteadOfSkippingSome)
{
    // One-pixel lines every fourth column: shrunk eightfold, each screen pixel covers
    // two lines and six gaps, so it must be a quarter grey, never white or black.
    QImage lines(64, 64, QImage::Format_RGB32);
    lines.fill(Qt::black);
    for (int x = 0; x < 64; x += 4) {
        for (int y = 0; y < 64; ++y)
            lines.setPixel(x, y, qRgb(255, 255, 255));
    }
    const QImage screen = compose(lines, StyleStretch, {QRect(0, 0, 8, 8)}, {8, 8});
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x)
            ASSERT_NEAR(qGray(screen.pixel(x, y)), 64, 8) << x << "," << y;
    }
}

TEST(RootCompositionTest, TileRepeatsFromTheTopLeftCorner)
{
    const QImage picture = noise(3, 2);
    const QImage screen = compose(picture, StyleTile, {QRect(0, 0, 8, 5)}, {8, 5});
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(screen.pixel(x, y), picture.pixel(x % 3, y % 2)) << x << "," << y;
    }
}

TEST(RootCompositionTest, EachMonitorShowsThePictureInItsOwnRectangle)
{
    const QImage picture = quadrants(4, 2);
    // Two monitors side by side, the right one lower and shorter; the corner that
    // no monitor covers stays black.
    const QRect left(0, 0, 10, 6);
    const QRect right(10, 2, 8, 4);
    const QSize size(18, 6);

    const QImage centred = compose(picture, StyleCenter, {left, right}, size);
    expectPlaced(centred, left, picture, {3, 2});
    expectPlaced(centred, right, picture, {12, 3});
    EXPECT_EQ(centred.pixel(15, 0), kBlack);

    const QImage tiled = compose(picture, StyleTile, {left, right}, size);
    for (const QRect& monitor : {left, right}) {
        for (int y = monitor.top(); y <= monitor.bottom(); ++y) {
            for (int x = monitor.left(); x <= monitor.right(); ++x)
                ASSERT_EQ(tiled.pixel(x, y), picture.pixel((x - monitor.left()) % 4, (y - monitor.top()) % 2));
        }
    }
    EXPECT_EQ(tiled.pixel(15, 1), kBlack);

    const QImage stretched = compose(quadrants(2, 2), StyleStretch, {left, right}, size);
    EXPECT_EQ(stretched.pixel(0, 0), kRed);
    EXPECT_EQ(stretched.pixel(9, 5), kYellow);
    EXPECT_EQ(stretched.pixel(10, 2), kRed);
    EXPECT_EQ(stretched.pixel(17, 2), kLime);
    EXPECT_EQ(stretched.pixel(17, 5), kYellow);
    EXPECT_EQ(stretched.pixel(12, 0), kBlack);
}

TEST(RootCompositionTest, TransparencyLiesOverBlackAndOtherPictureFormatsWork)
{
    QImage translucent(2, 1, QImage::Format_ARGB32);
    translucent.setPixel(0, 0, qRgba(255, 255, 255, 0));
    translucent.setPixel(1, 0, qRgba(200, 100, 50, 255));
    const QImage screen = compose(translucent, StyleTile, {QRect(0, 0, 4, 1)}, {4, 1});
    EXPECT_EQ(screen.pixel(0, 0), kBlack);
    EXPECT_EQ(screen.pixel(1, 0), qRgb(200, 100, 50));
    EXPECT_EQ(screen.pixel(2, 0), kBlack);

    const QImage grey = quadrants(4, 4).convertToFormat(QImage::Format_Grayscale8);
    const QImage fromGrey = compose(grey, StyleCenter, {QRect(0, 0, 4, 4)}, {4, 4});
    EXPECT_EQ(fromGrey.pixel(0, 0), grey.pixel(0, 0));
    EXPECT_EQ(fromGrey.pixel(3, 3), grey.pixel(3, 3));
}

TEST(RootCompositionTest, AnInvalidStyleOrNoPictureLeavesABlackScreen)
{
    const QImage picture = quadrants(4, 4);
    for (const QImage& screen : {compose(picture, 7, {QRect(0, 0, 6, 6)}, {6, 6}),
                                 compose(QImage(), StyleTile, {QRect(0, 0, 6, 6)}, {6, 6})}) {
        for (int y = 0; y < 6; ++y) {
            for (int x = 0; x < 6; ++x)
                ASSERT_EQ(screen.pixel(x, y), kBlack);
        }
    }
}

TEST(RootCompositionTest, MonitorsAreAskedForFromRandROneFiveOn)
{
    const struct {
        int major;
        int minor;
        bool reports;
    } cases[] = {{1, 4, false}, {1, 5, true}, {1, 6, true}, {2, 0, true}, {0, 9, false}, {0, 5, false}};
    for (const auto& c : cases)
        EXPECT_EQ(randrReportsMonitors(c.major, c.minor), c.reports) << c.major << '.' << c.minor;
}
