// Hands the desktop window's large icon pictures to an X11 desktop one at a time, each freed once sent.
#pragma once

#include <QWidget>

#include "platform/linux/win32_api.h"

namespace mirabo::platform {

// Adds the icon's pictures larger than `above` pixels to the window's
// _NET_WM_ICON after those it holds, decoding and sending one size at a time
// so that no two large pictures (and no copy of one) are in memory at once.
// False when the window is not on an X11 desktop or the icon has no such
// pictures; the caller then hands over the whole icon the ordinary way.
bool AppendLargeWindowIcons(QWidget* window, HICON icon, int above);

}  // namespace mirabo::platform
