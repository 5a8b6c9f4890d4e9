#include "platform/linux/single_instance.h"

#include <QByteArray>
#include <QSocketNotifier>

#include <map>
#include <memory>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace mirabo::platform {
namespace {

constexpr int kAnswerTimeoutMs = 3000;
constexpr int kLockWaitMs = 10000;

int lockFd = -1;

// A folder of this user's alone: the runtime folder when it is ours and closed
// to others, else one under /tmp that we make so. Empty when neither can be had.
QByteArray PrivateFolder() {
    const auto ours = [](const QByteArray& path) {
        struct stat st {};
        return lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == getuid() &&
               (st.st_mode & 077) == 0;
    };
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/' && ours(runtime)) {
        return runtime;
    }
    const QByteArray folder = "/tmp/mirabo-" + QByteArray::number(static_cast<qulonglong>(getuid()));
    mkdir(folder.constData(), 0700);
    return ours(folder) ? folder : QByteArray();
}

// The name both copies derive from the window's class and title.
QByteArray Key(const QString& className, const QString& title) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const char c : (className + QChar(0x1F) + title).toUtf8()) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    return "mirabo-" + QByteArray::number(static_cast<qulonglong>(hash), 16);
}

bool SocketAddress(const QString& className, const QString& title, sockaddr_un& address) {
    const QByteArray folder = PrivateFolder();
    if (folder.isEmpty()) {
        return false;
    }
    const QByteArray path = folder + '/' + Key(className, title) + ".sock";
    if (static_cast<std::size_t>(path.size()) >= sizeof address.sun_path) {
        return false;
    }
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    return true;
}

void TakeLock(const QString& className, const QString& title) {
    if (lockFd >= 0) {
        return;
    }
    const QByteArray folder = PrivateFolder();
    if (folder.isEmpty()) {
        return;
    }
    const QByteArray path = folder + '/' + Key(className, title) + ".lock";
    lockFd = open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lockFd < 0) {
        return;
    }
    // A copy that holds the lock is starting up and lets go within moments.
    // One that never does (stopped, or hung) must not keep every later copy
    // from starting: after a while this copy goes on without the lock.
    for (int waited = 0; waited < kLockWaitMs; waited += 10) {
        if (flock(lockFd, LOCK_EX | LOCK_NB) == 0) {
            return;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            break;
        }
        usleep(10 * 1000);
    }
    close(lockFd);
    lockFd = -1;
}

// Answers the requests of other copies, one connection at a time.
class Announcement : public QSocketNotifier {
public:
    Announcement(int fd, std::function<void()> raise)
        : QSocketNotifier(fd, QSocketNotifier::Read), raise_(std::move(raise)) {
        connect(this, &QSocketNotifier::activated, this, [this] { Serve(); });
    }
    ~Announcement() override {
        setEnabled(false);
        close(static_cast<int>(socket()));
    }

    void SetRaise(std::function<void()> raise) { raise_ = std::move(raise); }

private:
    void Serve() {
        const int client = accept4(static_cast<int>(socket()), nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) {
            return;
        }
        // One request line; a stream may hand it over in pieces.
        char request[16] = {};
        std::size_t length = 0;
        while (length < sizeof request - 1 && std::memchr(request, '\n', length) == nullptr) {
            pollfd waiting{client, POLLIN, 0};
            if (poll(&waiting, 1, kAnswerTimeoutMs) != 1) {
                break;
            }
            const ssize_t got = recv(client, request + length, sizeof request - 1 - length, 0);
            if (got <= 0) {
                break;
            }
            length += static_cast<std::size_t>(got);
        }
        if (std::strcmp(request, "raise\n") == 0 || std::strcmp(request, "ping\n") == 0) {
            if (request[0] == 'r' && raise_) {
                raise_();
            }
            send(client, "ok\n", 3, MSG_NOSIGNAL);
        }
        close(client);
    }

    std::function<void()> raise_;
};

// This copy's own announcements, by key.
std::map<QByteArray, std::unique_ptr<Announcement>>& Announced() {
    static std::map<QByteArray, std::unique_ptr<Announcement>> announced;
    return announced;
}

// Sends one request line and waits for the answer "ok".
bool Ask(const QString& className, const QString& title, const char* request) {
    sockaddr_un address;
    // Our own windows are not looked for here, and asking ourselves would wait
    // for an answer that the waiting itself holds up.
    if (Announced().count(Key(className, title)) != 0 || !SocketAddress(className, title, address)) {
        return false;
    }
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    bool answered = false;
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        send(fd, request, std::strlen(request), MSG_NOSIGNAL) == static_cast<ssize_t>(std::strlen(request))) {
        pollfd waiting{fd, POLLIN, 0};
        char answer[4] = {};
        answered = poll(&waiting, 1, kAnswerTimeoutMs) == 1 && recv(fd, answer, 3, 0) == 3 &&
                   std::memcmp(answer, "ok\n", 3) == 0;
    }
    close(fd);
    return answered;
}

}  // namespace

bool FindWindowInOtherCopy(const QString& className, const QString& title) {
    TakeLock(className, title);
    return Ask(className, title, "ping\n");
}

bool RaiseWindowInOtherCopy(const QString& className, const QString& title) {
    return Ask(className, title, "raise\n");
}

void AnnounceWindow(const QString& className, const QString& title, std::function<void()> raise) {
    const QByteArray key = Key(className, title);
    if (const auto it = Announced().find(key); it != Announced().end()) {
        it->second->SetRaise(std::move(raise));
        ReleaseInstanceLock();
        return;
    }
    sockaddr_un address;
    if (SocketAddress(className, title, address)) {
        // A socket left by a copy that ended without cleaning up answers nobody:
        // the lock guarantees no live copy is announcing right now, unless it
        // answers, in which case the name stays its own.
        if (!Ask(className, title, "ping\n")) {
            unlink(address.sun_path);
            const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
            if (fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                listen(fd, 8) == 0) {
                Announced()[key] = std::make_unique<Announcement>(fd, std::move(raise));
            } else if (fd >= 0) {
                close(fd);
            }
        }
    }
    ReleaseInstanceLock();
}

void WithdrawWindow(const QString& className, const QString& title) {
    const auto it = Announced().find(Key(className, title));
    if (it == Announced().end()) {
        return;
    }
    Announced().erase(it);
    sockaddr_un address;
    if (SocketAddress(className, title, address)) {
        unlink(address.sun_path);
    }
}

void ReleaseInstanceLock() {
    if (lockFd >= 0) {
        close(lockFd);
        lockFd = -1;
    }
}

}  // namespace mirabo::platform
