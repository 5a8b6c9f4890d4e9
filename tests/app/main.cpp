// The program's tests run in one QApplication on Qt's offscreen platform, at
// the screen's default scale, with a runtime folder of their own so that
// copies of the program started by the tests find only each other.
#include <QDir>

#include <cstdio>

#include "tests/app/program_driver.h"
#include "tests/offscreen_main.h"

int main(int argc, char** argv) {
    char folder[] = "/tmp/mirabo-app-test-XXXXXX";  // made with mode 0700
    if (mkdtemp(folder) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    setenv("XDG_RUNTIME_DIR", folder, 1);
    int result = mirabo::test::RunOnOffscreenQt(argc, argv, [] {
        QApplication::setQuitOnLastWindowClosed(false);
        mirabo::test::InstallUnexpectedModalLoopHandler();
    });
    QDir(QString::fromLocal8Bit(folder)).removeRecursively();
    return result;
}
