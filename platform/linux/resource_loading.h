// Strings, icons and accelerator tables from the program's resources, loaded
// when asked for: an icon handle names its group, and its pictures are
// decoded only when something draws it.
#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

#include <vector>

#include "platform/linux/win32_api.h"

namespace mirabo::platform {

// String `id` of the string table, or a null string when there is none.
QString ProgramString(UINT id);

// The entries of a table that LoadAcceleratorsW gave, or null.
const std::vector<ACCEL>* AcceleratorTable(HACCEL table);

// The picture of the icon group's image nearest to `size` pixels square,
// with its transparent parts transparent; null for an unknown handle.
QImage IconImage(HICON icon, int size);
// Every picture of the icon group, for the desktop window.
QIcon DesktopIcon(HICON icon);

// An icon by its resource number (as a dialog's SS_ICON control names it).
HICON ProgramIcon(WORD id);

// Decodes one image of an icon resource (RT_ICON): a device-independent
// bitmap twice the icon's height, the colours then the transparency mask.
QImage DecodeIconImage(const unsigned char* data, std::size_t size);

}  // namespace mirabo::platform
