#include "platform/linux/fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace mirabo::platform {

namespace {

struct FaceMapping {
    const char16_t* face;
    const char* family;    // empty: the desktop's default family
    const char* fontFile;  // loaded directly when the family is not known
};

// The handheld's faces by the names templates use, full-width and ASCII
// spellings alike. Looked up case-insensitively. The full-width names are
// written with escapes: "ＭＳ ゴシック" and "ＭＳ Ｐゴシック".
const FaceMapping kFaces[] = {
    {u"\uFF2D\uFF33 \u30B4\u30B7\u30C3\u30AF", "IPAGothic",
     "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"},
    {u"MS Gothic", "IPAGothic", "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"},
    {u"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF", "IPAPGothic",
     "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf"},
    {u"MS PGothic", "IPAPGothic", "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf"},
    {u"MS UI Gothic", "IPAPGothic", "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf"},
    // The handheld's system font is a proportional Japanese font: the same
    // family in every locale, not the desktop's default, which a Japanese
    // locale makes a fixed-pitch one too wide for the labels.
    {u"System", "IPAPGothic", "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf"},
    {u"MS Shell Dlg", "", ""},
};

// Makes sure the family can be used, loading its file if the font database
// does not list it (for instance where fontconfig is not set up). Looked up
// by its own name among the families the database lists (hasFamily would
// resolve aliases through fontconfig's rules first, the dearest step of
// start-up after fontconfig's own), once per family for the life of the
// process.
void EnsureFamily(const QString& family, const char* fontFile) {
    static QStringList asked;
    if (fontFile[0] == '\0' || asked.contains(family)) return;
    asked << family;
    if (QFontDatabase::styles(family).isEmpty() && QFile::exists(QString::fromLatin1(fontFile))) {
        QFontDatabase::addApplicationFont(QString::fromLatin1(fontFile));
    }
}

QString DesktopFamily() { return QGuiApplication::font().family(); }

}  // namespace

QString FamilyForFace(const QString& face) {
    for (const FaceMapping& mapping : kFaces) {
        if (face.compare(QString::fromUtf16(mapping.face), Qt::CaseInsensitive) != 0) continue;
        if (mapping.family[0] == '\0') return DesktopFamily();
        QString family = QString::fromLatin1(mapping.family);
        EnsureFamily(family, mapping.fontFile);
        return family;
    }
    return face.isEmpty() ? DesktopFamily() : face;
}

QFont HandheldFont(const QString& face, int pointSize, double scale) {
    QFont font(FamilyForFace(face));
    // The handheld draws at 96 pixels per inch; a point size becomes a
    // character height in its pixels as the platform computes it.
    int devicePixels = MulDiv(pointSize, 96, 72);
    if (devicePixels <= 0) devicePixels = 12;
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(devicePixels * scale))));
    font.setStyleHint(QFont::AnyStyle, QFont::PreferMatch);
    return font;
}

QFont ShellFont(double scale) { return HandheldFont(QStringLiteral("MS UI Gothic"), 9, scale); }

int AverageCharWidth(const QFont& font) {
    QFontMetrics metrics(font);
    int width =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return std::max(1, (width / 26 + 1) / 2);
}

DialogFont MakeDialogFont(const QString& face, int pointSize, double scale) {
    // Measured on the handheld's pixels...
    QFont handheld = HandheldFont(face, pointSize, 1.0);
    int cell = handheld.pixelSize();
    if (face.isEmpty() || face.compare(QStringLiteral("System"), Qt::CaseInsensitive) == 0) {
        int halfCell = std::max(1, (cell + 1) / 2);
        while (AverageCharWidth(handheld) > halfCell && handheld.pixelSize() > halfCell) {
            handheld.setPixelSize(handheld.pixelSize() - 1);
        }
    }
    // ...and drawn at the scale.
    DialogFont result;
    result.font = handheld;
    result.font.setPixelSize(std::max(1, static_cast<int>(std::lround(handheld.pixelSize() * scale))));
    result.baseUnits = QSizeF(AverageCharWidth(handheld) * scale, cell * scale);
    return result;
}

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    std::int64_t product = static_cast<std::int64_t>(a) * b;
    std::int64_t half = (c > 0 ? c : -c) / 2;
    bool negative = (product < 0) != (c < 0);
    std::int64_t magnitude = (product < 0 ? -product : product);
    std::int64_t divisor = (c < 0 ? -static_cast<std::int64_t>(c) : c);
    std::int64_t result = (magnitude + half) / divisor;
    return static_cast<int>(negative ? -result : result);
}

}  // namespace mirabo::platform
