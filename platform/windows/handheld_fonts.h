// The handheld's fonts on a Windows desktop: its face names mapped to faces
// installed here, sizes in the handheld's 96 pixels per inch times the
// screen's scale, and the dialog base units that dialog templates are
// measured in.
#pragma once

#include <windows.h>

#include <string>

namespace mirabo::windows {

// The installed face that stands in for one of the handheld's face names:
// the face itself when installed, else the first installed of its usual
// stand-ins ("ＭＳ ゴシック": MS Gothic, IPAGothic; "MS UI Gothic": IPAPGothic,
// Yu Gothic UI, Meiryo UI). "System", the handheld's proportional Japanese
// system font, has the stand-ins of "MS UI Gothic" and else the desktop's
// message font. Any other face is kept as it is.
std::wstring FaceForHandheld(const std::wstring& face);

// A character height in pixels for a point size on the handheld at a scale.
int HandheldPixelHeight(int pointSize, double scale);

// A dialog's font and its base units in pixels. The vertical unit is the
// character height the template asks for: the handheld's fonts have no
// leading, and taller lines would stretch every layout past the screen. The
// horizontal unit is the average width of the 52 letters A to Z and a to z,
// rounded as the dialog manager rounds it. The handheld's system font has
// half-width letters; the desktop font standing in for it is made smaller
// where needed so that its letters are no wider.
struct DialogFont {
    HFONT font = NULL;
    int baseX = 1;
    int baseY = 1;
};
DialogFont CreateDialogFont(const std::wstring& face, int pointSize, double scale);

// The font of the screen's own parts (title strip, menu bar), bold or not.
HFONT CreateShellFont(double scale, bool bold);

// The average letter width of a font, as the dialog manager measures it.
int AverageCharWidth(HFONT font);

}  // namespace mirabo::windows
