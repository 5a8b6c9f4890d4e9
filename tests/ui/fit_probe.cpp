// Opens the right-triangle dialog on whatever desktop Qt finds (its screen,
// scale factor and font DPI come from the environment) and tells, one line
// each: the scale chosen, the desktop's available area, and the desktop
// window's frame. Exits 0 when the window with its frame lies inside the
// available area, 1 when it does not.
#include <QApplication>
#include <QScreen>
#include <QWidget>

#include <cstdio>

#include "platform/testing.h"
#include "platform/win32.h"
#include "res/resource.h"
#include "ui/calculator_dialogs.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    bool fits = false;
    mirabo::testing::OnNextModalLoop([&](HWND dialog) {
        QWidget* screen = mirabo::testing::ScreenWidget();
        QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        QRect frame = screen->frameGeometry();
        std::printf("scale %g\n", mirabo::testing::ScreenScale());
        std::printf("available %d %d %d %d\n", available.x(), available.y(), available.width(),
                    available.height());
        std::printf("frame %d %d %d %d\n", frame.x(), frame.y(), frame.width(), frame.height());
        std::fflush(stdout);
        fits = available.contains(frame);
        EndDialog(dialog, IDC_BACK);
    });
    RunDialogTemplate(nullptr, nullptr, IDD_RIGHT_TRIANGLE, RightTriangleDlgProc);
    return fits ? 0 : 1;
}
