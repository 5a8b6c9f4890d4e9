// The program's icon as desktops show it, linked into the program by the
// mirabo_res library: PNG pictures of icon group IDI_MIRABO at the sizes of
// the desktop's icon themes, smoothed, drawn by draw_pictures.cpp from the
// same shapes as the group's own 16-colour images (res/icons/N.png).
#ifndef MIRABO_RES_DESKTOP_ICON_H
#define MIRABO_RES_DESKTOP_ICON_H

#include "res/resource.h"

struct DesktopIconPicture {
    int size;  // pixels square
    const unsigned char* png;
    unsigned long length;
};

// The icon group these pictures show.
inline constexpr int kDesktopIconGroup = IDI_MIRABO;

// Smallest first.
extern const DesktopIconPicture kDesktopIconPictures[];
extern const unsigned long kDesktopIconPictureCount;

#endif  // MIRABO_RES_DESKTOP_ICON_H
