// One copy of the program per user: finding the main window of another
// running copy, and bringing it to the front.
//
// A copy owns a window's class and title while it holds an exclusive lock on
// a file named after them in a folder that only this user can reach; it holds
// the lock for the rest of its life, so a second copy that finds the lock held
// knows, whatever state the first one is in, that it is running. The owner
// listens on a local socket beside the lock file for requests to come to the
// front, served from the event loop without ever waiting for a client.
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

namespace mirabo::platform {

// How long a second copy waits for the running one to answer its request.
constexpr int kRaiseAnswerWaitMs = 5000;
// How long the running copy gives one client to send its request line, how
// long that line may be, and how many clients it serves at once (a new one
// pushes out the one that has waited longest).
constexpr int kClientDeadlineMs = 2000;
constexpr int kRequestLimit = 256;
constexpr int kClientLimit = 16;

// Where the copies of one window meet: the private folder (its path, or a
// path through this process's descriptor of it when the real one is too long
// for a socket address), and the lock file's and the socket's paths in it.
struct MeetingPlace {
    QByteArray folder;
    QByteArray lockPath;
    QByteArray socketPath;
};

// The meeting place of the window with this class and title, or nothing when
// no private folder can be had (this is then said once on stderr). The
// private folder is $XDG_RUNTIME_DIR when that is a folder of this user's
// closed to everyone else, else the folder "mirabo" in the user's cache folder
// ($XDG_CACHE_HOME, or ~/.cache), made with mode 0700 and used only when it
// is a real folder (no symbolic link) of this user's with no access for
// anyone else.
std::optional<MeetingPlace> FindMeetingPlace(const QString& className, const QString& title);

// True when another copy owns the class and title. When nobody does, this
// copy takes them and keeps them until it ends (or ReleaseInstanceLock).
bool FindWindowInOtherCopy(const QString& className, const QString& title);

// Asks the copy that owns the class and title to bring its window to the
// front, and waits for its answer at most kRaiseAnswerWaitMs; true when it
// answered. When it did not, says so on stderr: the request stays with it.
bool RaiseWindowInOtherCopy(const QString& className, const QString& title);

// Makes this copy the owner of the class and title when nobody else is
// (another copy that looks finds it running from now on); true when it is.
bool ClaimWindow(const QString& className, const QString& title);

// Lets other copies reach this copy's window, when this copy owns its class and
// title (taking them if they are free); `raise` runs on the user-interface
// thread whenever another copy asks for the window to come to the front.
void AnnounceWindow(const QString& className, const QString& title, std::function<void()> raise);

// Stops listening for the window (its window was destroyed) and gives up its
// class and title. The socket file is removed only while it is still the one
// this copy made.
void WithdrawWindow(const QString& className, const QString& title);

// Gives up every class and title this copy owns, as the end of the process
// does.
void ReleaseInstanceLock();

}  // namespace mirabo::platform
