// The program's icons (LoadIconW): an icon handle names an icon group of the
// resources, and its pictures are decoded only when something draws it.
#pragma once

#include <QIcon>
#include <QImage>

#include <climits>
#include <vector>

#include "platform/linux/win32_api.h"

namespace mirabo::platform {

// The picture of the icon group's image nearest to `size` pixels square,
// with its transparent parts transparent; null for an unknown handle.
QImage IconImage(HICON icon, int size);
// The icon of the desktop window: the program's smooth pictures of the group
// at the sizes desktops ask for (16 to 256 pixels), and the group's own
// images at any size those leave out. Each picture is decoded when first
// drawn; the sizes offered to the desktop (availableSizes, which the window
// system hands over whole) are those up to `largestOffered`, though any size
// can be drawn.
QIcon DesktopIcon(HICON icon, int largestOffered = INT_MAX);
// The sizes of the desktop icon's pictures, smallest first, and the picture
// of exactly one of them (null for any other size or an unknown handle).
std::vector<int> DesktopIconSizes(HICON icon);
QImage DesktopIconImage(HICON icon, int size);

// An icon by its resource number (as a dialog's SS_ICON control names it).
HICON ProgramIcon(WORD id);

}  // namespace mirabo::platform
