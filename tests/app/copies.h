// Copies of the real program started as processes, and what the tests see of
// them from outside: exit statuses, what they say on stderr, the lock and the
// socket in their private folder, and stopping and continuing them.
#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace mirabo::test {

// The test's own environment on the offscreen platform, with
// XDG_RUNTIME_DIR set to `runtimeFolder` (left out when empty) and the
// language's locale variables to LANG=`locale` alone.
QProcessEnvironment CopyEnvironment(const QString& runtimeFolder, const QString& locale = "C.UTF-8");

// The runtime folder of the test process (XDG_RUNTIME_DIR), where the
// program run in the test meets other copies.
QString RuntimeFolder();

// Starts the program with `arguments`; its stderr is kept apart to be read
// with StderrOf, its stdout is dropped unless there are arguments.
std::unique_ptr<QProcess> StartCopy(const QProcessEnvironment& environment,
                                    const QStringList& arguments = {});
// Everything the copy has said on stderr so far.
QString StderrOf(QProcess& copy);

bool Running(const QProcess& copy);
// Waits for the copy to end; true when it ended with exit code 0.
bool EndsWithZero(QProcess& copy, int ms);
// Ends a copy that still runs (it is continued first if stopped).
void EndCopy(QProcess& copy);

void StopCopy(const QProcess& copy);
void ContinueCopy(const QProcess& copy);

// Checks `condition` every 10 ms, letting the copies' output in, for at most
// `ms` milliseconds; true when it came to hold.
bool WaitFor(const std::function<bool()>& condition, int ms);

// The paths the program's lock file and socket have in a private folder.
QString LockPathIn(const QString& folder);
QString SocketPathIn(const QString& folder);
// The process that holds the lock, or 0; seen without touching the lock.
qint64 LockHolder(const QString& lockPath);
// Whether some copy accepts connections on the socket.
bool Listening(const QString& socketPath);
// Connects to the socket without waiting; the descriptor, or -1.
int ConnectTo(const QString& socketPath);
// A stream socket bound at the path, after removing what was there; the
// descriptor, or -1.
int BoundSocket(const QByteArray& path);

// What a second copy says when the running one did not answer in time.
inline constexpr char kNoAnswer[] = "did not answer";

}  // namespace mirabo::test
