// One copy per user: copies of the real program started as processes while
// one runs (here, or in another process) bring it to the front and end with
// exit code 0; copies started at the same moment leave exactly one running.
#include <QProcess>
#include <QProcessEnvironment>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

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
        case Showing::MainWindow: startSecond(); break;
        case Showing::Calculator:
            ChooseFromMenu(0, "直角三角形の計算");
            When([] { return ActiveDialog() != nullptr; }, startSecond, "the dialog to open");
            break;
        case Showing::MessageBox:
            ChooseFromMenu(1, "オームの法則の計算");
            When([] { return ActiveDialog() != nullptr; },
                 [&] {
                     mirabo::testing::OnNextModalLoop([&](HWND) { startSecond(); });
                     ClickControl(ActiveDialog(), 1006);
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
        // All but one end on their own, each with exit code 0.
        int running = 0;
        for (auto& copy : copies) {
            if (!copy->waitForFinished(running == 0 ? 8000 : 3000)) {
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
    // Give it time to show its window and announce it.
    ASSERT_FALSE(other->waitForFinished(1500)) << "the copy ended by itself";
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
