// Finding the program's main window in another running copy, for the
// single-instance rule: a copy that creates a top-level window announces it on
// a local socket named after the window's class and title, in a folder that
// only this user can reach. Another copy looks for it there.
//
// Looking and announcing are one step for the whole user: the first look takes
// a lock that is held until this copy has announced its window (or ends), so
// two copies started at the same moment cannot both find nothing.
#pragma once

#include <QString>

#include <functional>

namespace mirabo::platform {

// True when another copy has announced a window with this class and title and
// answers. Takes the user's lock first (see above).
bool FindWindowInOtherCopy(const QString& className, const QString& title);

// Asks that copy to bring its window to the front, and waits until it has.
bool RaiseWindowInOtherCopy(const QString& className, const QString& title);

// Announces this copy's window; `raise` runs (on the user-interface thread)
// whenever another copy asks for it to come to the front. Releases the lock.
void AnnounceWindow(const QString& className, const QString& title, std::function<void()> raise);

// Takes back the announcement when the window is destroyed.
void WithdrawWindow(const QString& className, const QString& title);

// Releases the lock without announcing anything (the window was not created).
void ReleaseInstanceLock();

}  // namespace mirabo::platform
