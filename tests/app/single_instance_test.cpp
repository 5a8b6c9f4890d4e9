// One copy per user: copies of the real program started as processes while
// one runs (here, or in another process) bring it to the front and end with
// exit code 0; copies started at the same moment, stopped and continued at
// any moment, leave exactly one running; a stopped copy is still the one.
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/linux/single_instance.h"
#include "res/resource.h"
#include "tests/app/copies.h"
#include "tests/app/program_driver.h"
#include "tests/ui/named_rows.h"

namespace {

using namespace mirabo::test;
using mirabo::platform::kRaiseAnswerWaitMs;
using mirabo::test::PrintTo;

// A copy that shares this test's runtime folder, and so finds the program
// run here.
std::unique_ptr<QProcess> StartCopyBesideTest() { return StartCopy(CopyEnvironment(RuntimeFolder())); }

bool Finished(const QProcess& process) { return !Running(process); }

// Whether a copy answers on the socket in this test's runtime folder, that
// is, has shown its window and can be found.
bool SomeCopyListening() { return Listening(SocketPathIn(RuntimeFolder())); }

ino_t InodeOf(const QString& path) {
    struct stat st {};
    return lstat(path.toLocal8Bit().constData(), &st) == 0 ? st.st_ino : 0;
}

// What the running copy shows when the second one starts: each row brings
// it up, then has `startSecond` run.
struct Showing {
    const char* name;
    std::function<void(const std::function<void()>& startSecond)> show;
};

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
        second = StartCopyBesideTest();
        When([&] { return Finished(*second); },
             [&] {
                 QWidget* shown = mirabo::testing::ScreenWidget();
                 raised = shown->isVisible() && !shown->isMinimized();
                 activeCaption = mirabo::testing::TitleStripCaption();
                 CloseDesktopWindow();
             },
             "the second copy to end");
    };
    int result = RunProgram([&] { GetParam().show(startSecond); });
    EXPECT_EQ(result, 0);
    ASSERT_TRUE(second);
    EXPECT_TRUE(EndsWithZero(*second, 5000));
    EXPECT_TRUE(minimisedBefore);
    EXPECT_TRUE(raised) << "the running copy's desktop window did not come back";
    // What was open stays open and in front.
    EXPECT_EQ(activeCaption, expectedCaption);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Showing, SecondCopyTest, ::testing::Values(
    Showing{"MainWindow", [](const std::function<void()>& startSecond) { startSecond(); }},
    Showing{"Calculator", [](const std::function<void()>& startSecond) {
        ChooseFromMenu(0, "直角三角形の計算");
        WhenDialogOpen(startSecond, "the dialog to open");
    }},
    Showing{"MessageBox", [](const std::function<void()>& startSecond) {
        ChooseFromMenu(1, "オームの法則の計算");
        WhenDialogOpen([startSecond] {
            mirabo::testing::OnNextModalLoop([startSecond](HWND) { startSecond(); });
            ClickControl(ActiveDialog(), IDC_OHM_CALCULATE);
        }, "the dialog to open");
    }}),
    RowName());
// clang-format on

// Copies with a runtime folder of their own, so that they find only each
// other.
class CopiesInOwnFolder : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder_.isValid()); }
    void TearDown() override {
        for (auto& copy : copies_) EndCopy(*copy);
    }

    QProcess& Start(const QString& locale = "C.UTF-8", const QStringList& arguments = {}) {
        copies_.push_back(StartCopy(CopyEnvironment(folder_.path(), locale), arguments));
        return *copies_.back();
    }
    QString Socket() const { return SocketPathIn(folder_.path()); }
    QString Lock() const { return LockPathIn(folder_.path()); }
    // Whether the copy came to answer on the socket, and still runs.
    bool Answers(const QProcess& copy) {
        return WaitFor([&] { return Listening(Socket()) || !Running(copy); }, 15000) && Running(copy);
    }
    // Whether a copy started now finds the running one, which answers, and
    // ends with 0.
    void ExpectALateCopyToRaiseTheRunningOne(const QString& locale = "C.UTF-8") {
        QProcess& late = Start(locale);
        EXPECT_TRUE(EndsWithZero(late, kRaiseAnswerWaitMs + 5000));
        EXPECT_FALSE(StderrOf(late).contains(kNoAnswer)) << StderrOf(late).toStdString();
    }

    QTemporaryDir folder_;
    std::vector<std::unique_ptr<QProcess>> copies_;
};

struct StoppedCase {
    const char* name;
    int stoppedMs;  // how long the first copy stays stopped
    bool answered;  // whether the copies started meanwhile get its answer
};

class StoppedFirstCopyTest : public CopiesInOwnFolder, public ::testing::WithParamInterface<StoppedCase> {};

TEST_P(StoppedFirstCopyTest, StaysTheOneCopyAndTheOthersEndWithZero) {
    const StoppedCase& c = GetParam();
    QProcess& first = Start();
    ASSERT_TRUE(Answers(first));
    const ino_t socket = InodeOf(Socket());

    StopCopy(first);
    QProcess& second = Start();
    QProcess& third = Start();
    WaitFor([] { return false; }, c.stoppedMs);
    ContinueCopy(first);

    for (QProcess* copy : {&second, &third}) {
        EXPECT_TRUE(EndsWithZero(*copy, kRaiseAnswerWaitMs + 5000));
        EXPECT_EQ(StderrOf(*copy).contains(kNoAnswer), !c.answered) << StderrOf(*copy).toStdString();
    }
    // The first copy is still the one, with its own socket.
    EXPECT_TRUE(Running(first));
    EXPECT_EQ(LockHolder(Lock()), first.processId());
    EXPECT_EQ(InodeOf(Socket()), socket) << "the running copy's socket file was replaced";
    ExpectALateCopyToRaiseTheRunningOne();
    EXPECT_TRUE(Running(first));
}

INSTANTIATE_TEST_SUITE_P(Stops, StoppedFirstCopyTest,
                         ::testing::Values(StoppedCase{"ContinuedWhileTheOthersWait", 1500, true},
                                           StoppedCase{"StoppedLongerThanTheOthersWait",
                                                       kRaiseAnswerWaitMs + 1500, false}),
                         RowName());

struct TogetherCase {
    const char* name;
    int copies;
    bool stops;  // whether copies are stopped and continued at random moments
    unsigned seed;
};

class CopiesStartedTogetherTest : public CopiesInOwnFolder,
                                  public ::testing::WithParamInterface<TogetherCase> {};

TEST_P(CopiesStartedTogetherTest, LeaveExactlyOneRunningWindow) {
    const TogetherCase& c = GetParam();
    for (int i = 0; i < c.copies; ++i) Start();

    // Each copy may be stopped once, some time in its first 400 ms, for up
    // to 2.5 s.
    struct Pause {
        QProcess* copy;
        int at;
        int until;
        bool stopped = false;
        bool continued = false;
    };
    std::vector<Pause> pauses;
    std::mt19937 random(c.seed);
    for (auto& copy : copies_) {
        if (!c.stops || random() % 2 == 0) continue;
        const int at = static_cast<int>(random() % 400);
        pauses.push_back(Pause{copy.get(), at, at + 100 + static_cast<int>(random() % 2400)});
    }
    QElapsedTimer clock;
    clock.start();
    WaitFor(
        [&] {
            bool pending = false;
            for (Pause& pause : pauses) {
                if (!pause.stopped && clock.elapsed() >= pause.at)
                    StopCopy(*pause.copy), pause.stopped = true;
                if (!pause.continued && clock.elapsed() >= pause.until)
                    ContinueCopy(*pause.copy), pause.continued = true;
                pending = pending || !pause.continued;
            }
            return !pending;
        },
        10000);
    for (auto& copy : copies_) ContinueCopy(*copy);

    // All but one end on their own, each with exit code 0; the last one keeps
    // running, holds the lock and answers.
    auto ended = [&] {
        int count = 0;
        for (auto& copy : copies_) count += !Running(*copy);
        return count;
    };
    EXPECT_TRUE(WaitFor([&] { return ended() >= c.copies - 1; }, kRaiseAnswerWaitMs + 15000));
    WaitFor([] { return false; }, 300);
    QProcess* survivor = nullptr;
    for (auto& copy : copies_) {
        if (Running(*copy)) {
            EXPECT_EQ(survivor, nullptr) << "two copies run";
            survivor = copy.get();
            continue;
        }
        EXPECT_TRUE(EndsWithZero(*copy, 0)) << StderrOf(*copy).toStdString();
    }
    ASSERT_NE(survivor, nullptr) << "no copy runs";
    EXPECT_EQ(LockHolder(Lock()), survivor->processId());
    EXPECT_TRUE(WaitFor([&] { return Listening(Socket()); }, 10000));
    ExpectALateCopyToRaiseTheRunningOne();
    EXPECT_TRUE(Running(*survivor));
}

INSTANTIATE_TEST_SUITE_P(Together, CopiesStartedTogetherTest,
                         ::testing::Values(TogetherCase{"Two", 2, false, 0},
                                           TogetherCase{"Three", 3, false, 0},
                                           TogetherCase{"TwoWithStops", 2, true, 7},
                                           TogetherCase{"ThreeWithStops", 3, true, 11},
                                           TogetherCase{"TenWithStops", 10, true, 5}),
                         RowName());

TEST_F(CopiesInOwnFolder, AKilledCopyLeavesNothingInTheWay) {
    QProcess& first = Start();
    ASSERT_TRUE(Answers(first));
    first.kill();  // no chance to take its socket file away
    first.waitForFinished(5000);
    ASSERT_TRUE(QFileInfo::exists(Socket()));
    QProcess& second = Start();
    ASSERT_TRUE(Answers(second));
    EXPECT_EQ(LockHolder(Lock()), second.processId());
    ExpectALateCopyToRaiseTheRunningOne();
}

// The window's class and title are the same in every language: a copy
// started in English finds the running Japanese one.
TEST_F(CopiesInOwnFolder, ACopyInEnglishRaisesTheRunningJapaneseOne) {
    QProcess& first = Start("ja_JP.UTF-8");
    ASSERT_TRUE(Answers(first));
    ExpectALateCopyToRaiseTheRunningOne("en_US.UTF-8");
    EXPECT_TRUE(Running(first));
}

struct VersionCase {
    const char* name;
    bool running;  // whether a copy runs already
};

class VersionTest : public CopiesInOwnFolder, public ::testing::WithParamInterface<VersionCase> {};

// --version prints one line and ends with 0, neither becoming the one copy
// nor raising the one that runs.
TEST_P(VersionTest, PrintsTheVersionAndLeavesTheOneCopyRuleAlone) {
    QProcess* first = nullptr;
    if (GetParam().running) {
        first = &Start();
        ASSERT_TRUE(Answers(*first));
    }
    QProcess& asked = Start("C.UTF-8", {"--version"});
    ASSERT_TRUE(EndsWithZero(asked, 5000)) << StderrOf(asked).toStdString();
    EXPECT_EQ(asked.readAllStandardOutput().toStdString(), "mirabo " MIRABO_VERSION "\n");
    EXPECT_EQ(StderrOf(asked), "");
    if (first != nullptr) {
        EXPECT_TRUE(Running(*first));
        EXPECT_EQ(LockHolder(Lock()), first->processId());
    } else {
        EXPECT_FALSE(QFileInfo::exists(Lock()));
        EXPECT_FALSE(QFileInfo::exists(Socket()));
    }
}

INSTANTIATE_TEST_SUITE_P(Copies, VersionTest,
                         ::testing::Values(VersionCase{"Alone", false},
                                           VersionCase{"BesideARunningCopy", true}),
                         RowName());

TEST(SingleInstanceTest, AProgramHereIsFoundByACopyStartedLater) {
    // And a copy running elsewhere is found by the program here: WinMain
    // returns at once, without a window of its own.
    std::unique_ptr<QProcess> other = StartCopyBesideTest();
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

struct EndingCase {
    const char* name;
    bool replaced;  // whether the socket file was replaced while the program ran
};

class EndingCopyTest : public ::testing::TestWithParam<EndingCase> {};

TEST_P(EndingCopyTest, RemovesTheSocketFileOnlyWhileItIsItsOwn) {
    const QString socket = SocketPathIn(RuntimeFolder());
    const QByteArray path = socket.toLocal8Bit();
    int other = -1;
    ino_t otherInode = 0;
    const int result = RunProgram([&] {
        When(
            SomeCopyListening,
            [&] {
                if (GetParam().replaced) {
                    other = BoundSocket(path);
                    EXPECT_GE(other, 0);
                    otherInode = InodeOf(socket);
                }
                CloseDesktopWindow();
            },
            "the program to listen");
    });
    EXPECT_EQ(result, 0);
    if (GetParam().replaced) {
        EXPECT_EQ(InodeOf(socket), otherInode) << "a socket file that was not the program's own was removed";
        close(other);
        unlink(path.constData());
    } else {
        EXPECT_FALSE(QFileInfo::exists(socket)) << "the program left its socket file behind";
    }
}

INSTANTIATE_TEST_SUITE_P(Sockets, EndingCopyTest,
                         ::testing::Values(EndingCase{"ItsOwn", false},
                                           EndingCase{"ReplacedByAnother", true}),
                         RowName());

}  // namespace
