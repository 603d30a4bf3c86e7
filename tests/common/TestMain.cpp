#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

// Tests run headless unless the caller chose a platform (scripts/test may run a
// few of them under Xvfb for the real tray).
int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
