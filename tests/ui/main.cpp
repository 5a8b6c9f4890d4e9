// The UI tests run in one QApplication on Qt's offscreen platform at the
// screen's default scale, unless the environment asks for other ones.
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/ui/dialog_driver.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("MIRABO_SCALE", "2", 1);
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests needs no application (and so prints nothing else).
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    QApplication application(argc, argv);
    mirabo::test::InstallUnexpectedModalLoopHandler();
    return RUN_ALL_TESTS();
}
