// The running copy's socket as other processes see it: requests served
// without ever holding up the program's window, whatever clients connect and
// however they send; and what the program's FindWindowW and
// SetForegroundWindow ask of another copy.
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/linux/single_instance.h"
#include "tests/app/copies.h"
#include "tests/app/program_driver.h"
#include "tests/ui/named_rows.h"

namespace {

using namespace mirabo::test;
using mirabo::platform::kClientDeadlineMs;
using mirabo::platform::kRaiseAnswerWaitMs;
using mirabo::platform::kRequestLimit;

// Waits up to `ms` for the socket to be readable; what it reads until the
// other side closes or nothing more comes, and whether it was closed.
struct Heard {
    std::string text;
    bool closed = false;
    long long ms = 0;  // from the start of the wait to the close
};

Heard Listen(int fd, int ms) {
    Heard heard;
    const auto start = std::chrono::steady_clock::now();
    auto elapsed = [&] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
            .count();
    };
    while (elapsed() < ms) {
        pollfd waiting{fd, POLLIN, 0};
        if (poll(&waiting, 1, static_cast<int>(ms - elapsed())) <= 0) break;
        char chunk[64];
        const ssize_t got = recv(fd, chunk, sizeof chunk, MSG_DONTWAIT);
        if (got > 0) {
            heard.text.append(chunk, static_cast<std::size_t>(got));
            continue;
        }
        if (got < 0 && errno == EAGAIN) continue;
        heard.closed = true;
        heard.ms = elapsed();
        break;
    }
    return heard;
}

void Send(int fd, const std::string& bytes) { send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL); }

struct ClientCase {
    const char* name;
    std::vector<std::string> pieces;  // sent 50 ms apart
    bool answered;                    // "ok" comes back and the window comes to the front
    int closedWithinMs;               // the program hangs up within this time
};

class RawClientTest : public ::testing::TestWithParam<ClientCase> {};

TEST_P(RawClientTest, IsAnsweredOrDroppedWithoutHoldingUpTheProgram) {
    const ClientCase& c = GetParam();
    Heard heard;
    bool minimisedBefore = false;
    bool raised = false;
    std::thread client;
    std::atomic<bool> done = false;
    const int result = RunProgram([&] {
        QWidget* screen = mirabo::testing::ScreenWidget();
        screen->showMinimized();
        minimisedBefore = screen->isMinimized();
        const int fd = ConnectTo(SocketPathIn(RuntimeFolder()));
        ASSERT_GE(fd, 0);
        client = std::thread([&, fd] {
            for (const std::string& piece : c.pieces) {
                Send(fd, piece);
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
            heard = Listen(fd, kClientDeadlineMs + 3000);
            close(fd);
            done = true;
        });
        When([&] { return done.load(); },
             [&] {
                 raised = !mirabo::testing::ScreenWidget()->isMinimized();
                 CloseDesktopWindow();
             },
             "the client to be done");
    });
    if (client.joinable()) client.join();
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(minimisedBefore);
    EXPECT_EQ(heard.text, c.answered ? "ok\n" : "");
    EXPECT_TRUE(heard.closed);
    EXPECT_LT(heard.ms, c.closedWithinMs);
    EXPECT_EQ(raised, c.answered);
}

const std::string kLong(kRequestLimit + 1, 'x');

INSTANTIATE_TEST_SUITE_P(
    Requests, RawClientTest,
    ::testing::Values(ClientCase{"Raise", {"raise\n"}, true, 1000},
                      ClientCase{"RaiseInPieces", {"ra", "is", "e\n"}, true, 1000},
                      ClientCase{"UnknownRequest", {"ping\n"}, false, 1000},
                      // Only the request itself, byte for byte, raises.
                      ClientCase{"StartsLikeRaise", {"raisex\n"}, false, 1000},
                      ClientCase{"RaiseWithCrLf", {"raise\r\n"}, false, 1000},
                      ClientCase{"RaiseInCapitals", {"RAISE\n"}, false, 1000},
                      ClientCase{"RaiseFollowedByMore", {"raise\nraise\n"}, false, 1000},
                      ClientCase{"EmptyLineBeforeRaise", {"\nraise\n"}, false, 1000},
                      ClientCase{"RaiseWithoutItsLineEnd", {"raise"}, false, kClientDeadlineMs + 1000},
                      ClientCase{"LongerThanTheLimit", {kLong}, false, 1000},
                      ClientCase{"LongLineEndingInRaise", {kLong + "raise\n"}, false, 1000},
                      ClientCase{"Idle", {}, false, kClientDeadlineMs + 1000}),
    RowName());

// Counts the paint events a widget gets.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

struct BusyCase {
    const char* name;
    int clients;
    bool trickling;  // each client sends a byte every 100 ms, never a whole line
};

class BusyClientsTest : public ::testing::TestWithParam<BusyCase> {};

TEST_P(BusyClientsTest, TheWindowRepaintsAndASecondStartRaisesIt) {
    const BusyCase& c = GetParam();
    std::vector<int> clients;
    std::unique_ptr<QProcess> second;
    std::thread trickle;
    std::atomic<bool> stop = false;
    PaintCounter counter;
    int paintsBefore = 0;
    int paintsDuring = 0;
    bool raised = false;
    QTimer ticker;
    QElapsedTimer sinceTick;
    qint64 longestPause = 0;

    const int result = RunProgram([&] {
        QWidget* main = mirabo::testing::WidgetOf(MainWindow());
        ASSERT_NE(main, nullptr);
        main->installEventFilter(&counter);
        // The program's loop turns every 20 ms, and the main window is asked
        // to repaint each time.
        QObject::connect(&ticker, &QTimer::timeout, main, [&, main] {
            if (sinceTick.isValid()) longestPause = std::max(longestPause, sinceTick.elapsed());
            sinceTick.restart();
            main->update();
        });
        ticker.start(20);

        for (int i = 0; i < c.clients; ++i) {
            const int fd = ConnectTo(SocketPathIn(RuntimeFolder()));
            if (fd >= 0) clients.push_back(fd);
        }
        EXPECT_EQ(static_cast<int>(clients.size()), c.clients);
        if (c.trickling) {
            trickle = std::thread([&] {
                while (!stop) {
                    for (const int fd : clients) Send(fd, "r");
                    std::this_thread::sleep_for(std::chrono::milliseconds(100));
                }
            });
        }
        mirabo::testing::ScreenWidget()->showMinimized();
        paintsBefore = counter.paints;
        second = StartCopy(CopyEnvironment(RuntimeFolder()));
        When([&] { return !Running(*second); },
             [&] {
                 raised = !mirabo::testing::ScreenWidget()->isMinimized();
                 // The window, asked to repaint, repaints again with the
                 // clients still there.
                 const int paintsAtRaise = counter.paints;
                 When([&, paintsAtRaise] { return counter.paints > paintsAtRaise; },
                      [&] {
                          paintsDuring = counter.paints - paintsBefore;
                          CloseDesktopWindow();
                      },
                      "a repaint after the raise");
             },
             "the second copy to end");
    });
    stop = true;
    if (trickle.joinable()) trickle.join();
    for (const int fd : clients) close(fd);
    EXPECT_EQ(result, 0);
    ASSERT_TRUE(second);
    EXPECT_TRUE(EndsWithZero(*second, kRaiseAnswerWaitMs + 2000));
    EXPECT_FALSE(StderrOf(*second).contains(kNoAnswer)) << StderrOf(*second).toStdString();
    EXPECT_TRUE(raised) << "the running copy was not raised";
    EXPECT_GT(paintsDuring, 0) << "the window did not repaint";
    EXPECT_LT(longestPause, 1000) << "the program's loop stood still";
}

INSTANTIATE_TEST_SUITE_P(Clients, BusyClientsTest,
                         ::testing::Values(BusyCase{"HundredIdle", 100, false},
                                           BusyCase{"HundredTrickling", 100, true}),
                         RowName());

// Another copy played by the test: it holds the lock and listens on the
// socket, and records what it is asked.
class FakeOtherCopy {
public:
    FakeOtherCopy() {
        const auto place = mirabo::platform::FindMeetingPlace(QStringLiteral("FORWINDOWSCE"),
                                                              QStringLiteral("Mirabo for PocketPC"));
        lock_ = open(place->lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        locked_ = flock(lock_, LOCK_EX | LOCK_NB) == 0;
        path_ = place->socketPath;
        listener_ = BoundSocket(path_);
        listening_ = listener_ >= 0 && listen(listener_, 8) == 0;
        serving_ = std::thread([this] {
            // Answers one request, and records what came.
            pollfd waiting{listener_, POLLIN, 0};
            if (poll(&waiting, 1, 1000) != 1) return;
            const int client = accept(listener_, nullptr, nullptr);
            const Heard heard = Listen(client, 300);
            requests_ = heard.text;
            if (heard.text == "raise\n") Send(client, "ok\n");
            close(client);
        });
    }
    ~FakeOtherCopy() {
        if (serving_.joinable()) serving_.join();
        close(listener_);
        unlink(path_.constData());
        close(lock_);
    }
    bool Ready() const { return locked_ && listening_; }
    // What it was asked, once it has been asked or given up waiting.
    std::string Requests() {
        if (serving_.joinable()) serving_.join();
        return requests_;
    }

private:
    int lock_ = -1;
    bool locked_ = false;
    int listener_ = -1;
    bool listening_ = false;
    QByteArray path_;
    std::thread serving_;
    std::string requests_;
};

struct LookCase {
    const char* name;
    bool bringToFront;  // SetForegroundWindow after FindWindowW
    const char* requests;
};

class LookingForAnotherCopyTest : public ::testing::TestWithParam<LookCase> {};

TEST_P(LookingForAnotherCopyTest, OnlySetForegroundWindowAsksItToComeToTheFront) {
    FakeOtherCopy other;
    ASSERT_TRUE(other.Ready());
    HWND found = FindWindowW(L"FORWINDOWSCE", L"Mirabo for PocketPC");
    EXPECT_NE(found, nullptr);
    if (GetParam().bringToFront) {
        EXPECT_TRUE(SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<ULONG_PTR>(found) | 1)));
    }
    EXPECT_EQ(other.Requests(), GetParam().requests);
    EXPECT_EQ(FindWindowW(L"FORWINDOWSCE", L"Some other title"), nullptr);
    mirabo::testing::DiscardProgramWindows();
}

INSTANTIATE_TEST_SUITE_P(Calls, LookingForAnotherCopyTest,
                         ::testing::Values(LookCase{"FindWindowWAlone", false, ""},
                                           LookCase{"ThenSetForegroundWindow", true, "raise\n"}),
                         RowName());

}  // namespace
