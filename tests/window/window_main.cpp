#include "ui/ReadableTextStyle.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>

int main(int argc, char** argv)
{
    // The window is driven without a screen; the tests never wait for real time.
    qputenv("QT_QPA_PLATFORM", "offscreen");
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
