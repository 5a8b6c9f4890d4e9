// Renders the handheld screen with each calculator dialog, once empty and
// once after its first example has been calculated, then runs the program and
// renders its main window with the first menu open and its About box, into
// PNG files:
//   OUTPUT_FOLDER/<dialog>_empty.png and OUTPUT_FOLDER/<dialog>.png
//   OUTPUT_FOLDER/main_window_menu.png and OUTPUT_FOLDER/about_box.png
//   OUTPUT_FOLDER/focus_calculate_2x.png, focus_clear_2x.png and the same
//   at 3x: the right triangle with the focus on Calculate, then on Clear
// in the language the program would show (LANG=en_US.UTF-8 for English).
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "calc/calculators.h"
#include "platform/testing.h"
#include "platform/win32.h"
#include "res/resource.h"
#include "resfile/resource_language.h"
#include "ui/calculator_dialogs.h"
#include "ui/main_window.h"

namespace {

bool Save(const QString& path) {
    QWidget* screen = mirabo::testing::ScreenWidget();
    QPixmap picture = screen->grab();
    // An open pop-up menu is a window of its own, drawn over the screen.
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        QPainter painter(&picture);
        painter.drawPixmap(screen->mapFromGlobal(menu->mapToGlobal(QPoint(0, 0))), menu->grab());
    }
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
    SetThreadUILanguage(mirabo::LanguageOfEnvironment());
    QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "could not create %s\n", argv[1]);
        return 1;
    }

    bool ok = true;
    // Any message box is an error here: answer it so that nothing hangs.
    mirabo::testing::SetUnexpectedModalLoopHandler([&ok](HWND window) {
        std::fprintf(stderr, "unexpected window: %s\n", qPrintable(mirabo::testing::MessageBoxText(window)));
        ok = false;
        if (QAbstractButton* button = mirabo::testing::MessageBoxButton(window, IDOK))
            button->click();
        else if (QAbstractButton* no = mirabo::testing::MessageBoxButton(window, IDNO))
            no->click();
        else
            EndDialog(window, IDCANCEL);
    });
    for (const mirabo::Calculator* calculator : mirabo::kCalculators) {
        const QString name =
            QString::fromUtf8(calculator->id.data(), static_cast<qsizetype>(calculator->id.size()));
        mirabo::testing::OnNextModalLoop([&](HWND dialog) {
            ok = Save(folder.filePath(QStringLiteral("%1_empty.png").arg(name))) && ok;
            for (const auto& [id, text] : calculator->example) SetWindowTextW(GetDlgItem(dialog, id), text);
            auto* calculate = qobject_cast<QAbstractButton*>(
                mirabo::testing::WidgetOf(GetDlgItem(dialog, calculator->calculateId)));
            if (calculate != nullptr) calculate->click();
            SetFocus(GetDlgItem(dialog, mirabo::FirstFieldId(*calculator)));
            ok = Save(folder.filePath(QStringLiteral("%1.png").arg(name))) && ok;
            EndDialog(dialog, IDCANCEL);
        });
        if (RunDialogTemplate(nullptr, nullptr, calculator->templateId,
                              CalculatorDialogProcedure(*calculator)) != IDCANCEL)
            ok = false;
    }

    // The focus drawn at 2x and 3x: the right triangle after its example with
    // the focus on Calculate (the default button), then on Clear, which the
    // default look follows.
    for (int scale : {2, 3}) {
        if (!mirabo::testing::UseScreenScale(scale)) ok = false;
        mirabo::testing::OnNextModalLoop([&](HWND dialog) {
            const mirabo::Calculator& right = mirabo::kRightTriangle;
            for (const auto& [id, text] : right.example) SetWindowTextW(GetDlgItem(dialog, id), text);
            const std::pair<int, const char*> focused[] = {{right.calculateId, "calculate"},
                                                           {right.clearId, "clear"}};
            for (const auto& [id, what] : focused) {
                mirabo::testing::WidgetOf(GetDlgItem(dialog, id))->setFocus(Qt::TabFocusReason);
                QApplication::processEvents();
                ok = Save(folder.filePath(
                         QStringLiteral("focus_%1_%2x.png").arg(QLatin1String(what)).arg(scale))) &&
                     ok;
            }
            EndDialog(dialog, IDCANCEL);
        });
        if (RunDialogTemplate(nullptr, nullptr, mirabo::kRightTriangle.templateId,
                              CalculatorDialogProcedure(mirabo::kRightTriangle)) != IDCANCEL)
            ok = false;
    }
    if (!mirabo::testing::UseScreenScale(2)) ok = false;

    // The program itself: the first menu open over the main window, then the
    // About box; Exit ends it.
    mirabo::testing::OnNextModalLoop([&](HWND about) {
        ok = Save(folder.filePath(QStringLiteral("about_box.png"))) && ok;
        EndDialog(about, IDOK);
        QTimer::singleShot(0, [] {
            std::vector<QAbstractButton*> buttons = mirabo::testing::MenuBarButtons();
            if (buttons.size() == 3) buttons[0]->click();
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                menu->setActiveAction(menu->actions().value(4));
            }
        });
        QTimer::singleShot(50, [&] {
            ok = Save(folder.filePath(QStringLiteral("main_window_menu.png"))) && ok;
            if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
            PostMessageW(FindWindowW(L"FORWINDOWSCE", L"Mirabo for PocketPC"), WM_COMMAND, IDM_EXIT, 0);
        });
    });
    QTimer::singleShot(0, [] {
        PostMessageW(FindWindowW(L"FORWINDOWSCE", L"Mirabo for PocketPC"), WM_COMMAND, IDM_ABOUT, 0);
    });
    char commandLine[] = "";
    static int module;
    if (WinMain(reinterpret_cast<HINSTANCE>(&module), nullptr, commandLine, SW_SHOW) != 0) ok = false;
    mirabo::testing::DiscardProgramWindows();
    return ok ? 0 : 1;
}
