#include "platform/linux/single_instance.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/linux/string_table.h"
#include "res/resource.h"
#include "text/terminal_text.h"

namespace mirabo::platform {
namespace {

constexpr std::string_view kRaiseRequest = "raise\n";
constexpr std::string_view kAnswer = "ok\n";

// Says one line on stderr; the parts that come from outside the program
// (paths) are made terminal-safe by the caller. C's stdio, not the C++
// streams: those would construct their locales at start-up for this alone.
void Say(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

// ---------------------------------------------------------------------------
// The private folder.

struct Folder {
    int fd = -1;
    QByteArray path;
};

std::string Shown(const QByteArray& path) {
    return TerminalSafe(std::string_view(path.constData(), path.size()));
}

// Opens the folder when it is a real folder of this user's that nobody else
// can enter; otherwise says why not in `problem`.
std::optional<Folder> OpenPrivate(const QByteArray& path, std::string& problem) {
    const int fd = open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        struct stat link {};
        if (lstat(path.constData(), &link) == 0 && S_ISLNK(link.st_mode)) {
            problem = FilledUtf8(IDS_FOLDER_IS_LINK, {Shown(path)});
        } else if (error == ENOTDIR) {
            problem = FilledUtf8(IDS_FOLDER_IS_NOT_A_FOLDER, {Shown(path)});
        } else {
            problem = FilledUtf8(IDS_FOLDER_CANNOT_BE_OPENED, {Shown(path), std::strerror(error)});
        }
        return std::nullopt;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || st.st_uid != geteuid()) {
        problem = FilledUtf8(IDS_FOLDER_OF_ANOTHER_USER, {Shown(path)});
    } else if ((st.st_mode & 077) != 0) {
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(st.st_mode & 07777));
        problem = FilledUtf8(IDS_FOLDER_OPEN_TO_OTHERS, {Shown(path), mode});
    } else {
        return Folder{fd, path};
    }
    close(fd);
    return std::nullopt;
}

// Makes every missing folder along the path, each with mode 0700.
void MakeFolders(const QByteArray& path) {
    for (qsizetype slash = path.indexOf('/', 1); slash != -1; slash = path.indexOf('/', slash + 1)) {
        mkdir(path.left(slash).constData(), 0700);
    }
    mkdir(path.constData(), 0700);
}

QByteArray CacheFolder() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache != nullptr && cache[0] == '/') return cache;
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
        const passwd* user = getpwuid(getuid());
        home = user != nullptr ? user->pw_dir : nullptr;
    }
    if (home == nullptr || home[0] != '/') return {};
    return QByteArray(home) + "/.cache";
}

std::optional<Folder> FindPrivateFolder(std::string& problem) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') {
        std::string ignored;
        if (auto folder = OpenPrivate(runtime, ignored)) return folder;
    }
    const QByteArray cache = CacheFolder();
    if (cache.isEmpty()) {
        problem = FilledUtf8(IDS_NO_FOLDER_TO_MAKE, {});
        return std::nullopt;
    }
    const QByteArray ours = cache + "/mirabo";
    MakeFolders(ours);
    return OpenPrivate(ours, problem);
}

// This copy's private folder, looked for once; nothing when there is none,
// which is said once.
const Folder* PrivateFolder() {
    static const std::optional<Folder> folder = [] {
        std::string problem;
        std::optional<Folder> found = FindPrivateFolder(problem);
        if (!found) Say(FilledUtf8(IDS_NO_PRIVATE_FOLDER, {problem}));
        return found;
    }();
    return folder ? &*folder : nullptr;
}

// ---------------------------------------------------------------------------
// Names.

// The name both copies derive from the window's class and title.
QByteArray Key(const QString& className, const QString& title) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const char c : (className + QChar(0x1F) + title).toUtf8()) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    return "mirabo-" + QByteArray::number(static_cast<qulonglong>(hash), 16);
}

QByteArray LockName(const QByteArray& key) { return key + ".lock"; }
QByteArray SocketName(const QByteArray& key) { return key + ".sock"; }

// The socket's path as bound and connected to: through the folder's real path,
// or through this process's descriptor of it when that path is too long.
QByteArray SocketPath(const Folder& folder, const QByteArray& key) {
    const QByteArray real = folder.path + '/' + SocketName(key);
    if (static_cast<std::size_t>(real.size()) < sizeof(sockaddr_un::sun_path)) return real;
    return "/proc/self/fd/" + QByteArray::number(folder.fd) + '/' + SocketName(key);
}

bool SocketAddress(const Folder& folder, const QByteArray& key, sockaddr_un& address) {
    const QByteArray path = SocketPath(folder, key);
    if (static_cast<std::size_t>(path.size()) >= sizeof address.sun_path) return false;
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    return true;
}

// ---------------------------------------------------------------------------
// The running copy's side: requests served from the event loop.

class Listener : public QObject {
public:
    Listener(int fd, std::function<void()> raise) : fd_(fd), raise_(std::move(raise)) {
        acceptor_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
        connect(acceptor_, &QSocketNotifier::activated, this, [this] { AcceptAll(); });
        ticker_.setInterval(100);
        connect(&ticker_, &QTimer::timeout, this, [this] { DropLate(); });
        sweeper_.setSingleShot(true);
        connect(&sweeper_, &QTimer::timeout, this, [this] { retired_.clear(); });
    }

    ~Listener() override {
        acceptor_->setEnabled(false);
        for (auto& [fd, client] : clients_) {
            client.notifier->setEnabled(false);
            close(fd);
        }
        close(fd_);
    }

    void SetRaise(std::function<void()> raise) { raise_ = std::move(raise); }

private:
    struct Client {
        std::unique_ptr<QSocketNotifier> notifier;
        QByteArray request;
        QDeadlineTimer deadline;
    };
    enum class Request { Incomplete, Raise, Drop };

    void AcceptAll() {
        // A few at a time: clients that keep connecting are taken in turn with
        // everything else the event loop has to do.
        for (int accepted = 0; accepted < 4 * kClientLimit; ++accepted) {
            const int fd = accept4(fd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (fd < 0) {
                if (errno == EINTR || errno == ECONNABORTED) continue;
                return;  // none waiting (or out of descriptors: later)
            }
            if (clients_.size() >= static_cast<std::size_t>(kClientLimit)) DropOldest();
            Client& client = clients_[fd];
            client.deadline = QDeadlineTimer(kClientDeadlineMs);
            // Most clients have sent their line by now.
            if (Serve(fd)) continue;
            client.notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
            connect(client.notifier.get(), &QSocketNotifier::activated, this, [this, fd] { Serve(fd); });
            if (!ticker_.isActive()) ticker_.start();
        }
    }

    // Reads what the client has sent; true when it is done with (answered or dropped).
    bool Serve(int fd) {
        const auto it = clients_.find(fd);
        if (it == clients_.end()) return true;
        const Request request = Read(fd, it->second);
        if (request == Request::Incomplete) return false;
        Finish(fd);
        if (request == Request::Raise) {
            // The client is told once the window has come to the front.
            const std::function<void()> raise = raise_;
            if (raise) raise();
            send(fd, kAnswer.data(), kAnswer.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        }
        close(fd);
        return true;
    }

    static Request Read(int fd, Client& client) {
        char chunk[kRequestLimit + 1];
        for (;;) {
            const ssize_t got = recv(fd, chunk, sizeof chunk, MSG_DONTWAIT);
            if (got > 0) {
                client.request.append(chunk, got);
                if (client.request.size() > kRequestLimit) return Request::Drop;
                if (client.request.contains('\n')) break;
                continue;
            }
            if (got < 0 && errno == EINTR) continue;
            if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return Request::Incomplete;
            return Request::Drop;  // ended before a whole line, or failed
        }
        // The request itself and nothing more: bytes after its line are no client of ours.
        return client.request == QByteArray(kRaiseRequest.data(), kRaiseRequest.size()) ? Request::Raise
                                                                                        : Request::Drop;
    }

    // Forgets the client; its descriptor is the caller's to close. Its
    // notifier may be the one whose signal is running, so it goes later.
    void Finish(int fd) {
        const auto it = clients_.find(fd);
        if (it == clients_.end()) return;
        if (it->second.notifier) {
            it->second.notifier->setEnabled(false);
            retired_.push_back(std::move(it->second.notifier));
            sweeper_.start(0);
        }
        clients_.erase(it);
        if (clients_.empty()) ticker_.stop();
    }

    void DropOldest() {
        auto oldest = clients_.begin();
        for (auto it = clients_.begin(); it != clients_.end(); ++it) {
            if (it->second.deadline.deadlineNSecs() < oldest->second.deadline.deadlineNSecs()) oldest = it;
        }
        const int fd = oldest->first;
        Finish(fd);
        close(fd);
    }

    // Clients past their deadline get a last read (this copy may have been
    // stopped while their line arrived), and are dropped without it.
    void DropLate() {
        std::vector<int> late;
        for (const auto& [fd, client] : clients_) {
            if (client.deadline.hasExpired()) late.push_back(fd);
        }
        for (const int fd : late) {
            if (!Serve(fd)) {
                Finish(fd);
                close(fd);
            }
        }
    }

    int fd_;
    std::function<void()> raise_;
    QSocketNotifier* acceptor_;
    QTimer ticker_;
    QTimer sweeper_;
    std::map<int, Client> clients_;
    std::vector<std::unique_ptr<QSocketNotifier>> retired_;
};

// ---------------------------------------------------------------------------
// What this copy owns.

struct Owned {
    int lockFd = -1;
    std::unique_ptr<Listener> listener;
    dev_t socketDevice = 0;
    ino_t socketInode = 0;
};

std::map<QByteArray, Owned>& OwnedKeys() {
    static std::map<QByteArray, Owned> owned;
    return owned;
}

enum class Lock { Taken, HeldElsewhere, Unavailable };

// Opens the lock file and tries to lock it; the descriptor stays open only
// when the lock was taken.
Lock TryLock(const Folder& folder, const QByteArray& key, int& lockFd) {
    lockFd = openat(folder.fd, LockName(key).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lockFd < 0) return Lock::Unavailable;
    int locked;
    do {
        locked = flock(lockFd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked == 0) return Lock::Taken;
    const Lock result = errno == EWOULDBLOCK ? Lock::HeldElsewhere : Lock::Unavailable;
    close(lockFd);
    lockFd = -1;
    return result;
}

// Makes this copy the owner of the key when nobody else is.
Lock TakeOwnership(const QByteArray& key) {
    if (OwnedKeys().count(key) != 0) return Lock::Taken;
    const Folder* folder = PrivateFolder();
    if (folder == nullptr) return Lock::Unavailable;
    int lockFd = -1;
    const Lock lock = TryLock(*folder, key, lockFd);
    if (lock == Lock::Taken) OwnedKeys()[key].lockFd = lockFd;
    return lock;
}

// Whether another copy still owns the key, without keeping anything.
bool OwnedElsewhere(const Folder& folder, const QByteArray& key) {
    int lockFd = -1;
    const Lock lock = TryLock(folder, key, lockFd);
    if (lockFd >= 0) close(lockFd);
    return lock == Lock::HeldElsewhere;
}

void GiveUp(const QByteArray& key, Owned& owned) {
    const Folder* folder = PrivateFolder();
    if (owned.listener && folder != nullptr) {
        // Another copy may have put its own socket there meanwhile (after
        // this one was taken for dead): that one stays.
        struct stat st {};
        const QByteArray name = SocketName(key);
        if (fstatat(folder->fd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            st.st_dev == owned.socketDevice && st.st_ino == owned.socketInode) {
            unlinkat(folder->fd, name.constData(), 0);
        }
    }
    owned.listener.reset();
    if (owned.lockFd >= 0) close(owned.lockFd);
    owned.lockFd = -1;
}

// ---------------------------------------------------------------------------
// The second copy's side.

// Connects, sends the request and waits for the answer until the deadline.
enum class Asked { Answered, NotListening, NoAnswer };

Asked AskOnce(const sockaddr_un& address, const QDeadlineTimer& deadline) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return Asked::NotListening;
    // Not listening yet (or any more), or its queue of connections is full.
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        send(fd, kRaiseRequest.data(), kRaiseRequest.size(), MSG_NOSIGNAL) !=
            static_cast<ssize_t>(kRaiseRequest.size())) {
        close(fd);
        return Asked::NotListening;
    }
    QByteArray answer;
    Asked result = Asked::NoAnswer;
    while (!deadline.hasExpired()) {
        pollfd waiting{fd, POLLIN, 0};
        const int ready = poll(&waiting, 1, static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) break;
        char chunk[8];
        const ssize_t got = recv(fd, chunk, sizeof chunk, 0);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (got <= 0) {
            result = Asked::NotListening;  // dropped without an answer: ask again
            break;
        }
        answer.append(chunk, got);
        if (answer.startsWith(QByteArray(kAnswer.data(), kAnswer.size()))) {
            result = Asked::Answered;
            break;
        }
        if (answer.size() >= static_cast<qsizetype>(kAnswer.size())) break;
    }
    close(fd);
    return result;
}

}  // namespace

std::optional<MeetingPlace> FindMeetingPlace(const QString& className, const QString& title) {
    const Folder* folder = PrivateFolder();
    if (folder == nullptr) return std::nullopt;
    const QByteArray key = Key(className, title);
    return MeetingPlace{folder->path, folder->path + '/' + LockName(key), SocketPath(*folder, key)};
}

bool FindWindowInOtherCopy(const QString& className, const QString& title) {
    return TakeOwnership(Key(className, title)) == Lock::HeldElsewhere;
}

bool RaiseWindowInOtherCopy(const QString& className, const QString& title) {
    const QByteArray key = Key(className, title);
    const Folder* folder = PrivateFolder();
    sockaddr_un address;
    // Asking ourselves would wait for an answer that the waiting holds up.
    if (OwnedKeys().count(key) != 0 || folder == nullptr || !SocketAddress(*folder, key, address))
        return false;
    const QDeadlineTimer deadline(kRaiseAnswerWaitMs);
    for (;;) {
        switch (AskOnce(address, deadline)) {
        case Asked::Answered:
            return true;
        case Asked::NoAnswer:
            break;
        case Asked::NotListening:
            // The owner is still starting, or has just ended.
            if (!OwnedElsewhere(*folder, key)) return false;
            if (!deadline.hasExpired()) {
                usleep(20 * 1000);
                continue;
            }
            break;
        }
        Say(FilledUtf8(IDS_RUNNING_COPY_NO_ANSWER, {std::to_string(kRaiseAnswerWaitMs / 1000)}));
        return false;
    }
}

bool ClaimWindow(const QString& className, const QString& title) {
    return TakeOwnership(Key(className, title)) == Lock::Taken;
}

void AnnounceWindow(const QString& className, const QString& title, std::function<void()> raise) {
    const QByteArray key = Key(className, title);
    if (TakeOwnership(key) != Lock::Taken) return;
    Owned& owned = OwnedKeys()[key];
    if (owned.listener) {
        owned.listener->SetRaise(std::move(raise));
        return;
    }
    const Folder* folder = PrivateFolder();
    sockaddr_un address;
    if (folder == nullptr || !SocketAddress(*folder, key, address)) return;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return;
    // The lock says no other copy is alive: a socket file here was left by
    // one that ended without taking it away.
    const QByteArray name = SocketName(key);
    unlinkat(folder->fd, name.constData(), 0);
    struct stat st {};
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        fstatat(folder->fd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0 || listen(fd, SOMAXCONN) != 0) {
        close(fd);
        return;
    }
    owned.socketDevice = st.st_dev;
    owned.socketInode = st.st_ino;
    owned.listener = std::make_unique<Listener>(fd, std::move(raise));
}

void WithdrawWindow(const QString& className, const QString& title) {
    const auto it = OwnedKeys().find(Key(className, title));
    if (it == OwnedKeys().end()) return;
    GiveUp(it->first, it->second);
    OwnedKeys().erase(it);
}

void ReleaseInstanceLock() {
    for (auto& [key, owned] : OwnedKeys()) GiveUp(key, owned);
    OwnedKeys().clear();
}

}  // namespace mirabo::platform
