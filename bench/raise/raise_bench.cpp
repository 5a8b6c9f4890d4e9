// How long a second start takes to bring the running copy to the front, with
// clients of all kinds on the running copy's socket: none, idle ones that
// connect and send nothing, and trickling ones that send a byte every 100 ms
// and never a whole request. Target: within one second.
//
//   raise_bench PROGRAM [ROUNDS] [CLIENTS]
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/linux/single_instance.h"

namespace {

int Connect(const QByteArray& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) return fd;
    if (fd >= 0) close(fd);
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: raise_bench PROGRAM [ROUNDS] [CLIENTS]\n");
        return 64;
    }
    const QString program = QString::fromLocal8Bit(argv[1]);
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 10;
    const int clientCount = argc > 3 ? std::atoi(argv[3]) : 100;

    // A runtime folder of the run's own.
    char folder[] = "/tmp/mirabo-raise-XXXXXX";
    if (mkdtemp(folder) == nullptr) return 1;
    setenv("XDG_RUNTIME_DIR", folder, 1);
    QCoreApplication application(argc, argv);
    const auto place = mirabo::platform::FindMeetingPlace(QStringLiteral("FORWINDOWSCE"),
                                                          QStringLiteral("Mirabo for PocketPC"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");

    QProcess first;
    first.setProcessEnvironment(environment);
    first.setStandardErrorFile(QProcess::nullDevice());
    first.start(program, {});
    QElapsedTimer waiting;
    waiting.start();
    for (int fd = -1; (fd = Connect(place->socketPath)) < 0; usleep(10000)) {
        if (waiting.elapsed() > 15000) {
            std::fprintf(stderr, "the first copy never listened\n");
            return 1;
        }
    }

    std::printf("%-14s %7s %10s %10s %10s %s\n", "clients", "rounds", "min ms", "median ms", "max ms",
                "all raised");
    for (const char* kind : {"none", "idle", "trickling"}) {
        const bool none = std::strcmp(kind, "none") == 0;
        std::vector<int> clients;
        for (int i = 0; !none && i < clientCount; ++i) {
            const int fd = Connect(place->socketPath);
            if (fd >= 0) clients.push_back(fd);
        }
        std::atomic<bool> stop = false;
        std::thread trickle;
        if (std::strcmp(kind, "trickling") == 0) {
            trickle = std::thread([&] {
                while (!stop) {
                    for (const int fd : clients) send(fd, "r", 1, MSG_NOSIGNAL);
                    std::this_thread::sleep_for(std::chrono::milliseconds(100));
                }
            });
        }
        std::vector<double> times;
        bool allRaised = true;
        for (int round = 0; round < rounds; ++round) {
            QProcess second;
            second.setProcessEnvironment(environment);
            QElapsedTimer clock;
            clock.start();
            second.start(program, {});
            second.waitForFinished(30000);
            times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
            const QByteArray said = second.readAllStandardError();
            allRaised = allRaised && second.exitStatus() == QProcess::NormalExit && second.exitCode() == 0 &&
                        !said.contains("did not answer");
        }
        stop = true;
        if (trickle.joinable()) trickle.join();
        for (const int fd : clients) close(fd);
        std::sort(times.begin(), times.end());
        std::printf("%-14s %7d %10.1f %10.1f %10.1f %s\n",
                    none ? "0" : (std::to_string(clients.size()) + " " + kind).c_str(), rounds, times.front(),
                    times[times.size() / 2], times.back(), allRaised ? "yes" : "NO");
    }
    first.kill();
    first.waitForFinished(5000);
    QDir(QString::fromLocal8Bit(folder)).removeRecursively();
    return 0;
}
