// The program's resources as the platform layer reads them: the resource
// functions, the dialog templates and the pictures.
#include <QColor>
#include <QImage>
#include <QSet>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/linux/dialog_template.h"
#include "platform/linux/dib.h"
#include "platform/linux/png_picture.h"
#include "platform/linux/resource_directory.h"
#include "platform/win32.h"
#include "res/desktop_icon.h"
#include "tests/res/expected_dialogs.h"
#include "tests/ui/little_endian.h"

namespace {

using mirabo::platform::ControlClass;
using mirabo::platform::DialogTemplate;
using mirabo::platform::ParseDialogTemplate;
using mirabo::test::LittleEndian;

std::vector<unsigned char> ResourceBytes(LPCWSTR type, int id) {
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(id), type);
    if (found == nullptr) return {};
    auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(nullptr, found)));
    return std::vector<unsigned char>(data, data + SizeofResource(nullptr, found));
}

DialogTemplate LoadTemplate(int id) {
    std::vector<unsigned char> bytes = ResourceBytes(RT_DIALOG, id);
    DialogTemplate parsed;
    EXPECT_TRUE(ParseDialogTemplate(bytes.data(), bytes.size(), &parsed)) << "template " << id;
    return parsed;
}

TEST(ResourceFunctions, FindByOrdinalOrNumberTextAndRefuseWhatIsNotThere) {
    HRSRC byOrdinal = FindResourceW(nullptr, MAKEINTRESOURCEW(105), RT_DIALOG);
    ASSERT_NE(byOrdinal, nullptr);
    EXPECT_EQ(FindResourceW(nullptr, L"#105", RT_DIALOG), byOrdinal);
    EXPECT_EQ(FindResourceW(nullptr, L"#105", L"#5"), byOrdinal);
    EXPECT_EQ(FindResourceW(nullptr, MAKEINTRESOURCEW(106), RT_DIALOG), nullptr);
    EXPECT_EQ(FindResourceW(nullptr, MAKEINTRESOURCEW(105), RT_BITMAP), nullptr);
    EXPECT_EQ(FindResourceW(nullptr, L"#1x5", RT_DIALOG), nullptr);
    EXPECT_EQ(FindResourceW(nullptr, L"RIGHT", RT_DIALOG), nullptr);
    EXPECT_NE(FindResourceW(nullptr, MAKEINTRESOURCEW(112), RT_BITMAP), nullptr);

    HGLOBAL loaded = LoadResource(nullptr, byOrdinal);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(LockResource(loaded), loaded);
    EXPECT_GT(SizeofResource(nullptr, byOrdinal), 18u);
    EXPECT_EQ(LoadResource(nullptr, nullptr), nullptr);
    EXPECT_EQ(SizeofResource(nullptr, nullptr), 0u);
    int notAResource = 0;
    EXPECT_EQ(LoadResource(nullptr, reinterpret_cast<HRSRC>(&notAResource)), nullptr);
}

// Pads template words to the next DWORD boundary.
void AlignToDword(std::vector<WORD>& words) {
    if (words.size() % 2) words.push_back(0);
}

TEST(ResourceFile, NamedEntriesAndAlignmentAreRead) {
    // A marker entry, then a resource typed and named by text ("PIC",
    // "LOGO") with 3 data bytes, then one by ordinals after padding.
    constexpr std::size_t start = 32;
    constexpr WORD headerSize = 44;
    // clang-format off
    const std::vector<unsigned char> file = LittleEndian({
        0, 0, 32, 0, 0xFFFF, 0, 0xFFFF, 0, 0, 0, 0, 0, 0, 0, 0, 0,         // the marker
        3, 0, headerSize, 0, 'P', 'I', 'C', 0, 'L', 'O', 'G', 'O', 0, 0,  // sizes, type, name, padding
        0, 0, 0x1030, 0x0411, 0, 0, 0, 0,  // data version, memory flags, language, version, characteristics
        0x0201, 0x0003,                    // the data bytes 1, 2, 3 and padding
        2, 0, 32, 0, 0xFFFF, 10, 0xFFFF, 7, 0, 0, 0, 0x0409, 0, 0, 0, 0,
        0x0809,                            // the data bytes 9, 8
    });
    // clang-format on

    std::vector<mirabo::platform::ResourceEntry> entries;
    ASSERT_TRUE(mirabo::platform::ParseResourceFile(file.data(), file.size(), &entries));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_TRUE(entries[0].type.Matches(L"pic"));
    EXPECT_TRUE(entries[0].name.Matches(L"Logo"));
    EXPECT_FALSE(entries[0].name.Matches(MAKEINTRESOURCEW(7)));
    EXPECT_EQ(entries[0].language, 0x0411);
    ASSERT_EQ(entries[0].size, 3u);
    EXPECT_EQ(entries[0].data[2], 3);
    EXPECT_TRUE(entries[1].type.Matches(RT_RCDATA));
    EXPECT_TRUE(entries[1].name.Matches(MAKEINTRESOURCEW(7)));
    ASSERT_EQ(entries[1].size, 2u);
    EXPECT_EQ(entries[1].data[0], 9);

    // Cut anywhere inside the second entry, the file reads as broken.
    for (std::size_t cut = start + headerSize + 5; cut < file.size(); ++cut) {
        std::vector<unsigned char> shorter(file.begin(), file.begin() + static_cast<long>(cut));
        EXPECT_FALSE(mirabo::platform::ParseResourceFile(shorter.data(), shorter.size(), &entries)) << cut;
    }
}

using mirabo::test::Dialog;

// The class a template names, as the table names it.
std::u16string ClassName(ControlClass kind) {
    return kind == ControlClass::Edit     ? u"Edit"
           : kind == ControlClass::Button ? u"Button"
           : kind == ControlClass::Static ? u"Static"
                                          : u"(other)";
}

class ParsedTemplateTest : public ::testing::TestWithParam<Dialog> {};

TEST_P(ParsedTemplateTest, ReadsAsTabled) {
    const Dialog& expected = GetParam();
    DialogTemplate parsed = LoadTemplate(expected.id);
    EXPECT_EQ(parsed.style, expected.style);
    EXPECT_EQ(parsed.exStyle, expected.exStyle);
    EXPECT_EQ(parsed.title, QString::fromStdU16String(expected.caption));
    EXPECT_TRUE(parsed.hasFont);
    EXPECT_EQ(parsed.pointSize, expected.pointSize);
    EXPECT_EQ(parsed.faceName, QString::fromStdU16String(expected.face));
    EXPECT_EQ(parsed.cx, expected.cx);
    EXPECT_EQ(parsed.cy, expected.cy);
    EXPECT_TRUE(parsed.menu.isOrdinal && parsed.menu.ordinal == 0);
    EXPECT_TRUE(parsed.windowClass.isOrdinal && parsed.windowClass.ordinal == 0);
    ASSERT_EQ(parsed.items.size(), expected.controls.size());
    for (std::size_t i = 0; i < expected.controls.size(); ++i) {
        const mirabo::test::Control& want = expected.controls[i];
        const auto& got = parsed.items[i];
        SCOPED_TRACE("control #" + std::to_string(i + 1));
        EXPECT_EQ(got.id, want.id);
        EXPECT_TRUE(ClassName(got.Class()) == want.cls);
        EXPECT_EQ(got.style, want.style);
        EXPECT_EQ(got.exStyle, 0u);
        EXPECT_EQ(QRect(got.x, got.y, got.cx, got.cy), QRect(want.x, want.y, want.cx, want.cy));
        EXPECT_EQ(got.title.isOrdinal, want.image.has_value());
        if (want.image) {
            EXPECT_EQ(got.title.ordinal, *want.image);
        } else {
            EXPECT_EQ(got.title.text, QString::fromStdU16String(want.text));
        }
    }
}

TEST_P(ParsedTemplateTest, EveryShorterCopyIsRefused) {
    std::vector<unsigned char> bytes = ResourceBytes(RT_DIALOG, GetParam().id);
    ASSERT_FALSE(bytes.empty());
    DialogTemplate parsed;
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        // Each copy is allocated at exactly its size, so a read past its end
        // is caught by the address sanitizer build.
        std::vector<unsigned char> copy(bytes.begin(), bytes.begin() + static_cast<long>(size));
        bool accepted = ParseDialogTemplate(copy.data(), copy.size(), &parsed);
        // The last item's creation-data count ends the template; the padding
        // after it is not part of it.
        if (accepted) {
            EXPECT_GE(size + 3, bytes.size()) << "accepted at " << size;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Dialogs, ParsedTemplateTest, ::testing::ValuesIn(mirabo::test::ExpectedDialogs()),
                         [](const ::testing::TestParamInfo<Dialog>& info) {
                             return "Template" + std::to_string(info.param.id);
                         });

TEST(DialogTemplateForms, ClassNamesOrdinalsAndTheExtendedFormAreTold) {
    // A template with a class name, a title given as an ordinal and two
    // bytes of creation data, then an item of class ordinal 0x0081.
    std::vector<WORD> words = {
        0x00C0, 0x80C8, 0,   0, 2, 0, 0, 100, 50,  // style, exstyle, count, rect
        0,      0,      'T', 0,                    // no menu, dialog class, title
        8,      'F',    0,                         // 8 point "F"
    };
    AlignToDword(words);
    for (int w : {0x0000, 0x5000, 0, 0, 1, 2, 3, 4, 7}) words.push_back(static_cast<WORD>(w));
    for (char16_t c : std::u16string(u"sTaTiC")) words.push_back(c);
    words.insert(words.end(), {0, 0xFFFF, 112, 2, 0xABCD});
    AlignToDword(words);
    for (int w : {0x0080, 0x5081, 0, 0, 5, 6, 7, 8, 9, 0xFFFF, 0x0081, int('x'), 0, 0})
        words.push_back(static_cast<WORD>(w));

    std::vector<unsigned char> bytes = LittleEndian(words);
    DialogTemplate parsed;
    ASSERT_TRUE(ParseDialogTemplate(bytes.data(), bytes.size(), &parsed));
    EXPECT_EQ(parsed.title, QStringLiteral("T"));
    EXPECT_EQ(parsed.faceName, QStringLiteral("F"));
    ASSERT_EQ(parsed.items.size(), 2u);
    EXPECT_EQ(parsed.items[0].Class(), ControlClass::Static);
    EXPECT_EQ(parsed.items[0].id, 7);
    EXPECT_TRUE(parsed.items[0].title.isOrdinal);
    EXPECT_EQ(parsed.items[0].title.ordinal, 112);
    EXPECT_EQ(parsed.items[0].extraBytes, 2u);
    EXPECT_EQ(parsed.items[1].Class(), ControlClass::Edit);
    EXPECT_EQ(parsed.items[1].id, 9);
    EXPECT_EQ(parsed.items[1].title.text, QStringLiteral("x"));
    EXPECT_EQ(QRect(parsed.items[1].x, parsed.items[1].y, parsed.items[1].cx, parsed.items[1].cy),
              QRect(5, 6, 7, 8));

    // The extended form starts with version 1 and signature 0xFFFF.
    bytes[0] = 1;
    bytes[1] = 0;
    bytes[2] = 0xFF;
    bytes[3] = 0xFF;
    EXPECT_FALSE(ParseDialogTemplate(bytes.data(), bytes.size(), &parsed));
}

// A template of two edit items: the first with `extra` bytes of creation
// data, then the second, which starts on the next DWORD boundary. `dataEnd`
// is where the creation data ends.
std::vector<unsigned char> TemplateWithCreationData(DWORD style, int extra, std::size_t* dataEnd = nullptr) {
    // Style, extended style, count, rectangle, no menu, the dialog class, title.
    // clang-format off
    std::vector<WORD> words = {static_cast<WORD>(style & 0xFFFF), static_cast<WORD>(style >> 16), 0, 0, 2, 0, 0,
                               100, 50, 0, 0, 'T', 0};
    // clang-format on
    if (style & DS_SETFONT) words.insert(words.end(), {8, 'F', 0});
    AlignToDword(words);
    words.insert(words.end(), {0x0080, 0x5081, 0, 0, 1, 2, 3, 4, 7, 0xFFFF, 0x0081, 'a', 0});
    words.push_back(static_cast<WORD>(extra));
    std::vector<unsigned char> bytes = LittleEndian(words);
    for (int i = 0; i < extra; ++i) bytes.push_back(static_cast<unsigned char>(0xA0 + i));
    if (dataEnd != nullptr) *dataEnd = bytes.size();
    bytes.resize((bytes.size() + 3) & ~std::size_t{3});
    const std::vector<unsigned char> second =
        LittleEndian({0x0080, 0x5081, 0, 0, 5, 6, 7, 8, 9, 0xFFFF, 0x0081, 'b', 0, 0});
    bytes.insert(bytes.end(), second.begin(), second.end());
    return bytes;
}

TEST(DialogTemplateForms, CreationDataOfEveryLengthIsSkipped) {
    for (int extra : {0, 1, 2, 3, 4, 5, 6, 8, 11}) {
        SCOPED_TRACE(extra);
        std::size_t dataEnd = 0;
        const std::vector<unsigned char> bytes =
            TemplateWithCreationData(0x80C80000 | DS_SETFONT, extra, &dataEnd);
        DialogTemplate parsed;
        ASSERT_TRUE(ParseDialogTemplate(bytes.data(), bytes.size(), &parsed));
        ASSERT_EQ(parsed.items.size(), 2u);
        EXPECT_EQ(parsed.items[0].extraBytes, static_cast<std::size_t>(extra));
        EXPECT_EQ(parsed.items[0].title.text, QStringLiteral("a"));
        EXPECT_EQ(parsed.items[1].id, 9);
        EXPECT_EQ(parsed.items[1].Class(), ControlClass::Edit);
        EXPECT_EQ(parsed.items[1].title.text, QStringLiteral("b"));
        EXPECT_EQ(QRect(parsed.items[1].x, parsed.items[1].y, parsed.items[1].cx, parsed.items[1].cy),
                  QRect(5, 6, 7, 8));
        // Creation data said to be longer than what is there is refused.
        EXPECT_FALSE(ParseDialogTemplate(bytes.data(), dataEnd - 1, &parsed));
    }
}

TEST(DialogTemplateForms, OnlyVersionOneWithItsSignatureIsTheExtendedForm) {
    const struct {
        DWORD style;
        bool classic;
        // clang-format off
    } cases[] = {
        {0xFFFF0001, false},  // version 1, signature 0xFFFF: the extended form
        {0x80C00001, true},   // a style whose low word happens to be 1
        {0x00000001, true},
        {0xFFFF0002, true},
        {0xFFFE0001, true},
        {0x80C80040, true},
    };
    // clang-format on
    for (const auto& c : cases) {
        const std::vector<unsigned char> bytes = TemplateWithCreationData(c.style, 0);
        DialogTemplate parsed;
        EXPECT_EQ(ParseDialogTemplate(bytes.data(), bytes.size(), &parsed), c.classic) << std::hex << c.style;
        if (c.classic) {
            EXPECT_EQ(parsed.style, c.style);
            EXPECT_EQ(parsed.items.size(), 2u);
        }
    }
}

// The pictures: sizes as tabled, and only black, red and white.
struct PictureCase {
    int id;
    int width;
    int height;
};

void PrintTo(const PictureCase& p, std::ostream* os) { *os << "bitmap " << p.id; }

class DecodedPictureTest : public ::testing::TestWithParam<PictureCase> {};

TEST_P(DecodedPictureTest, DecodesToItsSizeInBlackRedAndWhite) {
    const PictureCase& p = GetParam();
    std::vector<unsigned char> bytes = ResourceBytes(RT_BITMAP, p.id);
    QImage image = mirabo::platform::DecodeDib(bytes.data(), bytes.size());
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(p.width, p.height));
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y) | 0xFF000000u);
    }
    EXPECT_EQ(colours, (QSet<QRgb>{qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(255, 255, 255)}));
    // White background: the corners at the top right are white.
    EXPECT_EQ(image.pixel(image.width() - 1, 0) | 0xFF000000u, qRgb(255, 255, 255));
}

INSTANTIATE_TEST_SUITE_P(Bitmaps, DecodedPictureTest,
                         ::testing::Values(PictureCase{110, 119, 118}, PictureCase{112, 128, 127},
                                           PictureCase{115, 128, 127}),
                         [](const ::testing::TestParamInfo<PictureCase>& info) {
                             return "Bitmap" + std::to_string(info.param.id);
                         });

// Hand-made bitmaps: a 3 x 2 picture in each depth, rows bottom-up unless the
// height is negative.
std::vector<unsigned char> MakeDib(int bits, int height, const std::vector<unsigned char>& palette,
                                   const std::vector<unsigned char>& rows) {
    std::vector<unsigned char> dib(40, 0);
    dib[0] = 40;
    dib[4] = 3;
    std::uint32_t h = static_cast<std::uint32_t>(height);
    std::memcpy(&dib[8], &h, 4);
    dib[12] = 1;
    dib[14] = static_cast<unsigned char>(bits);
    dib[32] = static_cast<unsigned char>(palette.size() / 4);
    dib.insert(dib.end(), palette.begin(), palette.end());
    dib.insert(dib.end(), rows.begin(), rows.end());
    return dib;
}

// Palette: 0 black, 1 red, 2 white (blue, green, red, reserved).
const std::vector<unsigned char> kPalette = {0, 0, 0, 0, 0, 0, 255, 0, 255, 255, 255, 0};

TEST(Dib, EachDepthAndRowOrderDecodes) {
    const QRgb k = qRgb(0, 0, 0), r = qRgb(255, 0, 0), w = qRgb(255, 255, 255);
    struct Case {
        const char* name;
        std::vector<unsigned char> dib;
        std::vector<QRgb> top, bottom;
    };
    std::vector<Case> cases = {
        {"8 bits bottom-up", MakeDib(8, 2, kPalette, {1, 2, 0, 0, 0, 1, 2, 0}), {k, r, w}, {r, w, k}},
        {"8 bits top-down", MakeDib(8, -2, kPalette, {1, 2, 0, 0, 0, 1, 2, 0}), {r, w, k}, {k, r, w}},
        {"4 bits", MakeDib(4, 2, kPalette, {0x12, 0x00, 0, 0, 0x21, 0x00, 0, 0}), {w, r, k}, {r, w, k}},
        {"1 bit",
         MakeDib(1, 2, {0, 0, 0, 0, 255, 255, 255, 0}, {0xA0, 0, 0, 0, 0x40, 0, 0, 0}),
         {k, w, k},
         {w, k, w}},
        {"24 bits",
         MakeDib(24, 2, {},
                 {0, 0, 255, 255, 255, 255, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 255, 255, 255, 0, 0, 0}),
         {k, r, w},
         {r, w, k}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QImage image = mirabo::platform::DecodeDib(c.dib.data(), c.dib.size());
        ASSERT_EQ(image.size(), QSize(3, 2));
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(image.pixel(x, 0) | 0xFF000000u, c.top[x]) << "top " << x;
            EXPECT_EQ(image.pixel(x, 1) | 0xFF000000u, c.bottom[x]) << "bottom " << x;
        }
    }
}

TEST(Dib, DataShorterThanItsHeaderSaysIsRefused) {
    std::vector<unsigned char> dib = MakeDib(8, 2, kPalette, {1, 2, 0, 0, 0, 1, 2, 0});
    for (std::size_t size = 0; size < dib.size(); ++size) {
        std::vector<unsigned char> copy(dib.begin(), dib.begin() + static_cast<long>(size));
        EXPECT_TRUE(mirabo::platform::DecodeDib(copy.data(), copy.size()).isNull()) << size;
    }
    std::vector<unsigned char> compressed = dib;
    compressed[16] = 1;  // run-length encoded
    EXPECT_TRUE(mirabo::platform::DecodeDib(compressed.data(), compressed.size()).isNull());
    std::vector<unsigned char> tooManyColours = dib;
    tooManyColours[32] = 0;
    tooManyColours[33] = 1;  // 256 colours announced, 3 present
    EXPECT_TRUE(mirabo::platform::DecodeDib(tooManyColours.data(), tooManyColours.size()).isNull());
}

// The desktop icon's PNG pictures, read without Qt's image reader: pixel for
// pixel, and in the same format, what that reader makes of them; a copy cut
// short of its whole picture is refused.
TEST(DesktopIconPictures, EachDecodesAsQtsOwnReaderDoes) {
    ASSERT_GT(kDesktopIconPictureCount, 0u);
    for (unsigned long i = 0; i < kDesktopIconPictureCount; ++i) {
        const DesktopIconPicture& p = kDesktopIconPictures[i];
        SCOPED_TRACE(p.size);
        const QImage expected = QImage::fromData(p.png, static_cast<int>(p.length), "PNG");
        ASSERT_EQ(expected.size(), QSize(p.size, p.size));
        EXPECT_EQ(mirabo::platform::DecodePngPicture(p.png, p.length), expected);
    }
}

TEST(DesktopIconPictures, ACopyCutInItsPictureIsRefused) {
    const DesktopIconPicture& p = kDesktopIconPictures[0];
    // The end marker, a chunk with no data, is the last 12 bytes; a copy cut
    // there still holds the whole picture.
    ASSERT_EQ(std::memcmp(p.png + p.length - 8, "IEND", 4), 0);
    const unsigned long pictureEnd = p.length - 12;
    const QImage whole = mirabo::platform::DecodePngPicture(p.png, p.length);
    ASSERT_FALSE(whole.isNull());
    for (unsigned long size = 0; size < p.length; ++size) {
        std::vector<unsigned char> copy(p.png, p.png + size);
        const QImage decoded = mirabo::platform::DecodePngPicture(copy.data(), copy.size());
        if (size < pictureEnd) {
            EXPECT_TRUE(decoded.isNull()) << size;
        } else {
            EXPECT_EQ(decoded, whole) << size;
        }
    }
    EXPECT_TRUE(mirabo::platform::DecodePngPicture(nullptr, p.length).isNull());
}

}  // namespace
