#include "ui/ReadableTextStyle.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>

int main(int argc, char** argv)
{
    // The window is driven without a screen; the tests never wait for real time.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform of a Windows build reads fonts only from a folder, and Wine
    // keeps QT_ variables from the programs it starts, so the folder comes by another
    // name. Without fonts every glyph is a box as wide as the font is high, and no text
    // measures as it would on a screen.
    const QByteArray fonts = qgetenv("TAPETOR_TEST_FONT_DIR");
    if (!fonts.isEmpty())
        qputenv("QT_QPA_FONTDIR", fonts);
    // A run under a locale the system lacks would quietly test the C locale instead.
    if (!std::setlocale(LC_ALL, "")) {
        std::fprintf(stderr, "The locale %s is not installed.\n", qgetenv("LC_ALL").constData());
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    useReadableTextStyle();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
