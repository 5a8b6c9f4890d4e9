// The Win32 cases on the Qt layer: one QApplication on Qt's offscreen
// platform, the program's resources in Japanese.
#include "platform/win32.h"
#include "tests/offscreen_main.h"

int main(int argc, char** argv) {
    return mirabo::test::RunOnOffscreenQt(argc, argv, [] {
        QApplication::setQuitOnLastWindowClosed(false);
        SetThreadUILanguage(0x0411);
    });
}
