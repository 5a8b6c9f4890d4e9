// Renders the handheld screen with each calculator dialog, once empty and
// once after its first example has been calculated, into PNG files:
//   OUTPUT_FOLDER/<dialog>_empty.png and OUTPUT_FOLDER/<dialog>.png
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "platform/testing.h"
#include "platform/win32.h"
#include "ui/calculator_dialogs.h"

namespace {

struct Shot {
    const char* name;
    int templateId;
    DLGPROC procedure;
    int calculate;
    std::vector<std::pair<int, const wchar_t*>> example;
};

bool Save(const QString& path) {
    QPixmap picture = mirabo::testing::ScreenWidget()->grab();
    if (!picture.save(path, "PNG")) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "could not create %s\n", argv[1]);
        return 1;
    }

    const Shot shots[] = {
        {"coordinate_rotation", 104, CoordinateDlgProc, 1004, {{1001, L"3"}, {1002, L"4"}, {1003, L"30"}}},
        {"right_triangle", 105, RightTriangleDlgProc, 1006, {{1001, L"3"}, {1002, L"4"}}},
        {"oblique_triangle", 108, ObliqueTriangleDlgProc, 1004, {{1001, L"7"}, {1002, L"8"}, {1003, L"9"}}},
        {"ohms_law", 121, OhmsLawDlgProc, 1006, {{1001, L"10"}, {1002, L"2"}}},
    };

    bool ok = true;
    // Any message box is an error here: answer it so that nothing hangs.
    mirabo::testing::SetUnexpectedModalLoopHandler([&ok](HWND window) {
        std::fprintf(stderr, "unexpected window: %s\n", qPrintable(mirabo::testing::MessageBoxText(window)));
        ok = false;
        if (QAbstractButton* button = mirabo::testing::MessageBoxButton(window, IDOK)) button->click();
        else if (QAbstractButton* no = mirabo::testing::MessageBoxButton(window, IDNO)) no->click();
        else EndDialog(window, IDCANCEL);
    });
    for (const Shot& shot : shots) {
        mirabo::testing::OnNextModalLoop([&](HWND dialog) {
            ok = Save(folder.filePath(QStringLiteral("%1_empty.png").arg(QLatin1String(shot.name)))) && ok;
            for (const auto& [id, text] : shot.example) SetWindowTextW(GetDlgItem(dialog, id), text);
            auto* calculate = qobject_cast<QAbstractButton*>(mirabo::testing::WidgetOf(GetDlgItem(dialog, shot.calculate)));
            if (calculate != nullptr) calculate->click();
            SetFocus(GetDlgItem(dialog, 1001));
            ok = Save(folder.filePath(QStringLiteral("%1.png").arg(QLatin1String(shot.name)))) && ok;
            EndDialog(dialog, IDCANCEL);
        });
        if (OpenCalculatorDialog(nullptr, nullptr, shot.templateId, shot.procedure) != IDCANCEL) ok = false;
    }
    return ok ? 0 : 1;
}
