// One copy per user: copies of the real program started as processes while
// one runs (here, or in another process) bring it to the front and end with
// exit code 0; copies started at the same moment leave exactly one running.
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "res/resource.h"
#include "tests/app/program_driver.h"

namespace {

using namespace mirabo::test;

std::unique_ptr<QProcess> StartCopy() {
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->start(QStringLiteral(MIRABO_PROGRAM), QStringList());
    return process;
}

bool Finished(const QProcess& process) { return process.state() == QProcess::NotRunning; }

// Whether a copy answers on a socket in this user's runtime folder, that is,
// has shown its window and can be found.
bool SomeCopyListening() {
    QDir folder(QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR")));
    for (const QString& name : folder.entryList({QStringLiteral("*.sock")}, QDir::System)) {
        QByteArray path = folder.filePath(name).toLocal8Bit();
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (static_cast<std::size_t>(path.size()) >= sizeof address.sun_path) continue;
        std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
        int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        bool listening = fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        if (fd >= 0) close(fd);
        if (listening) return true;
    }
    return false;
}

enum class Showing { MainWindow, Calculator, MessageBox };

void PrintTo(Showing s, std::ostream* out) {
    static const char* const names[] = {"main window", "calculator", "message box"};
    *out << names[static_cast<int>(s)];
}

class SecondCopyTest : public ::testing::TestWithParam<Showing> {};

TEST_P(SecondCopyTest, EndsWithZeroAndRaisesTheRunningOne) {
    std::unique_ptr<QProcess> second;
    bool minimisedBefore = false;
    bool raised = false;
    QString activeCaption;
    QString expectedCaption;
    std::function<void()> startSecond = [&] {
        QWidget* screen = mirabo::testing::ScreenWidget();
        screen->showMinimized();
        minimisedBefore = screen->isMinimized();
        expectedCaption = mirabo::testing::TitleStripCaption();
        second = StartCopy();
        When([&] { return Finished(*second); },
             [&] {
                 QWidget* shown = mirabo::testing::ScreenWidget();
                 raised = shown->isVisible() && !shown->isMinimized();
                 activeCaption = mirabo::testing::TitleStripCaption();
                 CloseDesktopWindow();
             },
             "the second copy to end");
    };
    int result = RunProgram([&] {
        switch (GetParam()) {
        case Showing::MainWindow:
            startSecond();
            break;
        case Showing::Calculator:
            ChooseFromMenu(0, "直角三角形の計算");
            When([] { return ActiveDialog() != nullptr; }, startSecond, "the dialog to open");
            break;
        case Showing::MessageBox:
            ChooseFromMenu(1, "オームの法則の計算");
            When([] { return ActiveDialog() != nullptr; },
                 [&] {
                     mirabo::testing::OnNextModalLoop([&](HWND) { startSecond(); });
                     ClickControl(ActiveDialog(), IDC_OHM_CALCULATE);
                 },
                 "the dialog to open");
            break;
        }
    });
    EXPECT_EQ(result, 0);
    ASSERT_TRUE(second);
    second->waitForFinished(5000);
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_TRUE(minimisedBefore);
    EXPECT_TRUE(raised) << "the running copy's desktop window did not come back";
    // What was open stays open and in front.
    EXPECT_EQ(activeCaption, expectedCaption);
}

std::string ShowingName(const ::testing::TestParamInfo<Showing>& info) {
    static const char* const names[] = {"MainWindow", "Calculator", "MessageBox"};
    return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Showing, SecondCopyTest,
                         ::testing::Values(Showing::MainWindow, Showing::Calculator, Showing::MessageBox),
                         ShowingName);

TEST(SingleInstanceTest, CopiesStartedTogetherLeaveExactlyOneRunning) {
    for (int round = 0; round < 3; ++round) {
        std::vector<std::unique_ptr<QProcess>> copies;
        for (int i = 0; i < 3; ++i) copies.push_back(StartCopy());
        for (auto& copy : copies) ASSERT_TRUE(copy->waitForStarted(5000));
        // All but one end on their own, each with exit code 0; the last one
        // keeps running.
        auto finishedCount = [&] {
            int finished = 0;
            for (auto& copy : copies) finished += Finished(*copy);
            return finished;
        };
        QElapsedTimer clock;
        clock.start();
        while (finishedCount() < 2 && clock.elapsed() < 20000) {
            for (auto& copy : copies) {
                if (!Finished(*copy)) copy->waitForFinished(10);
            }
        }
        for (auto& copy : copies) copy->waitForFinished(500);
        int running = 0;
        for (auto& copy : copies) {
            if (!Finished(*copy)) {
                ++running;
                continue;
            }
            EXPECT_EQ(copy->exitStatus(), QProcess::NormalExit) << "round " << round;
            EXPECT_EQ(copy->exitCode(), 0) << "round " << round;
        }
        EXPECT_EQ(running, 1) << "round " << round;
        // The survivor is found by the next copy, which ends too.
        std::unique_ptr<QProcess> late = StartCopy();
        EXPECT_TRUE(late->waitForFinished(8000)) << "round " << round;
        EXPECT_EQ(late->exitCode(), 0);
        for (auto& copy : copies) {
            if (!Finished(*copy)) {
                copy->kill();
                copy->waitForFinished(5000);
            }
        }
    }
}

TEST(SingleInstanceTest, AProgramHereIsFoundByACopyStartedLater) {
    // And a copy running elsewhere is found by the program here: WinMain
    // returns at once, without a window of its own.
    std::unique_ptr<QProcess> other = StartCopy();
    ASSERT_TRUE(other->waitForStarted(5000));
    // Wait until it has shown its window and can be found.
    QElapsedTimer clock;
    clock.start();
    while (!SomeCopyListening() && clock.elapsed() < 15000 && !Finished(*other)) other->waitForFinished(20);
    ASSERT_FALSE(Finished(*other)) << "the copy ended by itself";
    ASSERT_TRUE(SomeCopyListening()) << "the copy never became findable";
    bool ranLoop = false;
    int result = RunProgram([&] {
        ranLoop = true;
        CloseDesktopWindow();
    });
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(ranLoop) << "a second main window was made";
    EXPECT_EQ(mirabo::testing::ScreenWidget() ? mirabo::testing::ScreenWidget()->isVisible() : false, false);
    other->kill();
    other->waitForFinished(5000);
}

}  // namespace
