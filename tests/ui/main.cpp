// The UI tests run in one QApplication on Qt's offscreen platform at the
// screen's default scale, unless the environment asks for other ones.
#include "tests/offscreen_main.h"
#include "tests/ui/dialog_driver.h"

int main(int argc, char** argv) {
    return mirabo::test::RunOnOffscreenQt(argc, argv,
                                          [] { mirabo::test::InstallUnexpectedModalLoopHandler(); });
}
