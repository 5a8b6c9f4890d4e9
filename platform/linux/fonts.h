// Fonts of the emulated handheld: the handheld's face names mapped to fonts
// installed here, sizes in the handheld's 96 pixels per inch times the
// screen's scale, and the dialog base units that dialog templates are
// measured in.
#pragma once

#include <QFont>
#include <QSize>
#include <QSizeF>
#include <QString>

namespace mirabo::platform {

// The family that stands in for one of the handheld's face names: "ＭＳ ゴシック"
// is IPAGothic, "MS UI Gothic" and "System" IPAPGothic, "MS Shell Dlg" the
// desktop's default family; any other name is kept as it is.
QString FamilyForFace(const QString& face);

// A face at a point size on the handheld, drawn at the given scale.
QFont HandheldFont(const QString& face, int pointSize, double scale);

// The font of the shell's own parts (title strip, message boxes).
QFont ShellFont(double scale);

// The average width of the 52 letters A to Z and a to z, rounded as the
// platform rounds it: the horizontal dialog base unit of a font.
int AverageCharWidth(const QFont& font);

// A dialog's font and its base units in pixels. The vertical unit is the
// character height the template asks for: the handheld's fonts have no
// leading, and the taller lines of the fonts standing in for them would
// stretch every layout past the screen. The horizontal unit is measured on
// the font used. The handheld's system font is a Japanese font with
// half-width letters; the font standing in for it is made smaller where
// needed so that its letters are no wider.
//
// Both are measured on the handheld's own pixels and then scaled, so that a
// dialog keeps the handheld's layout at any scale: rounded at a scale of
// their own, they would add up to more than the screen at some scales.
struct DialogFont {
    QFont font;
    QSizeF baseUnits;
};
DialogFont MakeDialogFont(const QString& face, int pointSize, double scale);

// a * b / c rounded half away from zero, or -1 when c is 0.
int MulDiv(int a, int b, int c);

}  // namespace mirabo::platform
