// The program's tests run in one QApplication on Qt's offscreen platform, at
// the screen's default scale, with a runtime folder of their own so that
// copies of the program started by the tests find only each other.
#include <QApplication>
#include <QDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/app/program_driver.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("MIRABO_SCALE", "2", 1);
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();

    char folder[] = "/tmp/mirabo-app-test-XXXXXX";  // made with mode 0700
    if (mkdtemp(folder) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    setenv("XDG_RUNTIME_DIR", folder, 1);
    int result = 0;
    {
        QApplication application(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
        mirabo::test::InstallUnexpectedModalLoopHandler();
        result = RUN_ALL_TESTS();
    }
    QDir(QString::fromLocal8Bit(folder)).removeRecursively();
    return result;
}
