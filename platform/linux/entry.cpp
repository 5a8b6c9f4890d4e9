// The process entry: makes the application, runs the program's WinMain as
// the handheld's loader would (the program's instance, no previous instance,
// an empty command line, SW_SHOW), and ends the process with its result.
// The program's texts are in the user's language, as the locale variables
// decide (resfile/resource_language.h).
// The desktop knows the program's window by its class, MIRABO_WM_CLASS (the
// desktop entry's StartupWMClass), and, on Wayland, by the desktop entry's
// name, MIRABO_APP_ID; both come from the build.
// `mirabo --version` prints the program's name and version and ends there,
// before any window or the one-copy rule.
// Qt's own notices about the runtime folder (XDG_RUNTIME_DIR not set, or
// open to others) are not passed on: where that matters (no private folder
// to meet other copies in), the program says so itself, once, in its own
// words (single_instance.cpp).
#include <QApplication>
#include <QString>

#include <cstdio>
#include <cstring>

#include "platform/linux/font_configuration.h"
#include "platform/linux/screen.h"
#include "platform/linux/win32_api.h"
#include "platform/linux/window_functions.h"
#include "resfile/resource_language.h"

namespace {

// The program is the only module; its instance handle names it.
int g_module;

QtMessageHandler g_qtMessages = nullptr;

// Qt's notices about the runtime folder (XDG_RUNTIME_DIR unset, or open to
// others) are not passed on.
void PassOnQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: ")) &&
        (message.contains(QLatin1String("XDG_RUNTIME_DIR")) ||
         message.contains(QLatin1String("runtime directory")))) {
        return;
    }
    if (g_qtMessages != nullptr) g_qtMessages(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        return std::printf("mirabo %s\n", MIRABO_VERSION) > 0 && std::fflush(stdout) == 0 ? 0 : 1;
    }
    // The fonts' configuration is read while the application connects to the
    // display, and is there before the first font is asked for.
    mirabo::platform::FontConfigurationReader fontConfiguration;
    // The program takes no command line: Qt sees only the program's name.
    int qtArgc = argc > 0 ? 1 : 0;
    g_qtMessages = qInstallMessageHandler(PassOnQtMessage);
    QApplication application(qtArgc, argv);
    fontConfiguration.Wait();
    // The window class follows the application's name, which would otherwise
    // be whatever name the program was started by.
    QApplication::setApplicationName(QStringLiteral(MIRABO_WM_CLASS));
    QApplication::setDesktopFileName(QStringLiteral(MIRABO_APP_ID));
    QApplication::setQuitOnLastWindowClosed(false);
    SetThreadUILanguage(mirabo::LanguageOfEnvironment());
    char noCommandLine[] = "";
    int result = WinMain(reinterpret_cast<HINSTANCE>(&g_module), nullptr, noCommandLine, SW_SHOW);
    // As the process ends, its windows go without messages, and other
    // copies stop finding them.
    mirabo::platform::DiscardProgramWindows();
    delete mirabo::platform::Screen::Existing();
    std::fflush(nullptr);
    return result;
}
