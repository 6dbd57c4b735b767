#include <QGuiApplication>

#include <gtest/gtest.h>

// Some engine code uses QProcess and Qt's image plugins, which want an application
// object; the offscreen platform keeps the unit tests free of any display.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
