// Fonts of the emulated handheld: the handheld's face names mapped to fonts
// installed here, sizes in the handheld's 96 pixels per inch times the
// screen's scale, and the dialog base units that dialog templates are
// measured in.
#pragma once

#include <QFont>
#include <QSize>
#include <QString>

namespace mirabo::platform {

// The family that stands in for one of the handheld's face names: "ＭＳ ゴシック"
// is IPAGothic, "MS UI Gothic" IPAPGothic, "System" the desktop's default
// family; any other name is kept as it is.
QString FamilyForFace(const QString& face);

// A face at a point size on the handheld, drawn at the given scale.
QFont HandheldFont(const QString& face, int pointSize, double scale);

// The font of the shell's own parts (title strip, message boxes).
QFont ShellFont(double scale);

// Horizontal and vertical dialog base units of a font, in pixels: the average
// width of the 52 letters A to Z and a to z, rounded, and the font's
// character height (its pixel size).
QSize DialogBaseUnits(const QFont& font);

// a * b / c rounded half away from zero, or -1 when c is 0.
int MulDiv(int a, int b, int c);

}  // namespace mirabo::platform
