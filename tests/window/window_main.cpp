#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // The window is driven without a screen; the tests never wait for real time.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
