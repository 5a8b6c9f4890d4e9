#include "tests/app/copies.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cstring>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/linux/single_instance.h"

namespace mirabo::test {
namespace {

// The names of the lock file and the socket, the same in every folder.
QString NameOf(const QByteArray& path) { return QFileInfo(QString::fromLocal8Bit(path)).fileName(); }

std::optional<mirabo::platform::MeetingPlace> Place() {
    return mirabo::platform::FindMeetingPlace(QStringLiteral("FORWINDOWSCE"),
                                              QStringLiteral("Mirabo for PocketPC"));
}

}  // namespace

QProcessEnvironment CopyEnvironment(const QString& runtimeFolder, const QString& locale) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    for (const char* variable : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) environment.remove(variable);
    environment.insert("LANG", locale);
    if (runtimeFolder.isEmpty()) {
        environment.remove("XDG_RUNTIME_DIR");
    } else {
        environment.insert("XDG_RUNTIME_DIR", runtimeFolder);
    }
    return environment;
}

QString RuntimeFolder() { return QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR")); }

std::unique_ptr<QProcess> StartCopy(const QProcessEnvironment& environment, const QStringList& arguments) {
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::SeparateChannels);
    if (arguments.isEmpty()) process->setStandardOutputFile(QProcess::nullDevice());
    process->start(QStringLiteral(MIRABO_PROGRAM), arguments);
    process->waitForStarted(5000);
    return process;
}

QString StderrOf(QProcess& copy) {
    const QString said = copy.property("said").toString() + QString::fromUtf8(copy.readAllStandardError());
    copy.setProperty("said", said);
    return said;
}

bool Running(const QProcess& copy) { return copy.state() != QProcess::NotRunning; }

bool EndsWithZero(QProcess& copy, int ms) {
    if (Running(copy)) copy.waitForFinished(ms);
    return !Running(copy) && copy.exitStatus() == QProcess::NormalExit && copy.exitCode() == 0;
}

void EndCopy(QProcess& copy) {
    if (!Running(copy)) return;
    ContinueCopy(copy);
    copy.kill();
    copy.waitForFinished(5000);
}

void StopCopy(const QProcess& copy) {
    if (Running(copy)) kill(static_cast<pid_t>(copy.processId()), SIGSTOP);
}

void ContinueCopy(const QProcess& copy) {
    if (Running(copy)) kill(static_cast<pid_t>(copy.processId()), SIGCONT);
}

bool WaitFor(const std::function<bool()>& condition, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        usleep(10 * 1000);
    }
    return true;
}

QString LockPathIn(const QString& folder) { return folder + '/' + NameOf(Place()->lockPath); }
QString SocketPathIn(const QString& folder) { return folder + '/' + NameOf(Place()->socketPath); }

qint64 LockHolder(const QString& lockPath) {
    // Read from the kernel's table of locks, so that looking takes nothing.
    struct stat st {};
    if (stat(lockPath.toLocal8Bit().constData(), &st) != 0) return 0;
    QFile locks(QStringLiteral("/proc/locks"));
    if (!locks.open(QIODevice::ReadOnly)) return 0;
    const QByteArray inode = ':' + QByteArray::number(static_cast<qulonglong>(st.st_ino));
    for (const QByteArray& line : locks.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        // "1: FLOCK ADVISORY WRITE <pid> <major>:<minor>:<inode> 0 EOF"
        if (fields.size() >= 6 && fields[1] == "FLOCK" && fields[5].endsWith(inode))
            return fields[4].toLongLong();
    }
    return 0;
}

namespace {

// Makes a stream socket and connects it to, or binds it at, the path.
int SocketAt(const QByteArray& path, int flags, int (*attach)(int, const sockaddr*, socklen_t)) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (static_cast<std::size_t>(path.size()) >= sizeof address.sun_path) return -1;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | flags, 0);
    if (fd >= 0 && attach(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) return fd;
    if (fd >= 0) close(fd);
    return -1;
}

}  // namespace

int ConnectTo(const QString& socketPath) {
    return SocketAt(socketPath.toLocal8Bit(), SOCK_NONBLOCK, connect);
}

int BoundSocket(const QByteArray& path) {
    unlink(path.constData());
    return SocketAt(path, 0, bind);
}

bool Listening(const QString& socketPath) {
    const int fd = ConnectTo(socketPath);
    if (fd >= 0) close(fd);
    return fd >= 0;
}

}  // namespace mirabo::test
