// The Win32 cases on the Qt layer: one QApplication on Qt's offscreen
// platform, the program's resources in Japanese.
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/win32.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("MIRABO_SCALE", "2", 1);
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    SetThreadUILanguage(0x0411);
    return RUN_ALL_TESTS();
}
