// The reader every resource format of the platform layer is read with:
// little-endian values, texts and ordinal-or-name keys, and what happens at
// the end of the data.
#include <QString>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/linux/resource_key.h"
#include "resfile/byte_reader.h"
#include "tests/ui/little_endian.h"

namespace {

using mirabo::ByteReader;
using mirabo::platform::ReadKey;
using mirabo::platform::ResourceKey;

using Bytes = std::vector<unsigned char>;

// UTF-16 units as they are stored, low byte first.
Bytes Units(const std::u16string& units) {
    return mirabo::test::LittleEndian(std::vector<std::uint16_t>(units.begin(), units.end()));
}

struct ValueCase {
    const char* what;
    Bytes bytes;
    std::function<long long(ByteReader&)> read;
    long long value;
    bool ok;
    std::size_t offset;  // after the reads
};

// clang-format off
const ValueCase kValueCases[] = {
    {"byte",                 {0xAB},                   [](ByteReader& r) { return r.Byte(); },   0xAB,       true,  1},
    {"word, low byte first", {0x34, 0x12},             [](ByteReader& r) { return r.Word(); },   0x1234,     true,  2},
    {"dword",                {0x78, 0x56, 0x34, 0x12}, [](ByteReader& r) { return r.Dword(); },  0x12345678, true,  4},
    {"short is signed",      {0xFE, 0xFF},             [](ByteReader& r) { return r.Short(); },  -2,         true,  2},
    {"long is signed",       {0xFF, 0xFF, 0xFF, 0xFF}, [](ByteReader& r) { return r.Long(); },   -1,         true,  4},
    {"byte past the end",    {},                       [](ByteReader& r) { return r.Byte(); },   0,          false, 0},
    {"word past the end",    {0x34},                   [](ByteReader& r) { return r.Word(); },   0,          false, 0},
    {"dword past the end",   {0x78, 0x56, 0x34},       [](ByteReader& r) { return r.Dword(); },  0,          false, 0},
    {"a failed read sticks", {0x01, 0x02, 0x03},       [](ByteReader& r) { r.Dword(); return r.Word(); }, 0, false, 0},
    {"two words in order",   {0x01, 0x00, 0x02, 0x00}, [](ByteReader& r) { long long first = r.Word(); return first * 16 + r.Word(); }, 0x12, true, 4},
    {"skip then read",       {0x01, 0x02, 0x03},       [](ByteReader& r) { r.Skip(2); return r.Byte(); }, 3, true, 3},
    {"skip past the end",    {0x01, 0x02},             [](ByteReader& r) { r.Skip(3); return r.Byte(); }, 0, false, 0},
    {"seek back",            {0x01, 0x02},             [](ByteReader& r) { r.Word(); r.Seek(1); return r.Byte(); }, 2, true, 2},
    {"seek to the end",      {0x01, 0x02},             [](ByteReader& r) { r.Seek(2); return r.Byte(); }, 0, false, 2},
    {"align from 1 to 4",    {1, 2, 3, 4, 5},          [](ByteReader& r) { r.Byte(); r.AlignDword(); return r.Byte(); }, 5, true, 5},
    {"align when aligned",   {1, 2, 3, 4, 5},          [](ByteReader& r) { r.Dword(); r.AlignDword(); return r.Byte(); }, 5, true, 5},
    {"align past the end",   {1, 2, 3},                [](ByteReader& r) { r.Byte(); r.AlignDword(); return r.Byte(); }, 0, false, 1},
};
// clang-format on

TEST(ByteReader, ReadsLittleEndianValuesAndStopsAtTheEnd) {
    for (const ValueCase& c : kValueCases) {
        ByteReader reader(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(c.read(reader), c.value) << c.what;
        EXPECT_EQ(reader.ok(), c.ok) << c.what;
        EXPECT_EQ(reader.offset(), c.offset) << c.what;
        if (!c.ok) {
            EXPECT_EQ(reader.remaining(), 0u) << c.what;
        }
    }
}

struct TextCase {
    const char* what;
    Bytes bytes;
    bool zeroIsNone;
    bool ok;
    bool isOrdinal;
    int ordinal;
    QString text;
    std::size_t offset;
};

// clang-format off
const TextCase kKeyCases[] = {
    {"ordinal",                  Units(u"\xFFFF\x0069"), false, true,  true,  105, QString(),               4},
    {"ordinal cut short",        Units(u"\xFFFF"),       false, false, true,  0,   QString(),               2},
    {"zero as none",             Units(std::u16string(1, u'\0')), true,  true,  true,  0, QString(),        2},
    {"zero as the empty text",   Units(std::u16string(1, u'\0')), false, true,  false, 0, QString(""),      2},
    {"text",                     Units(std::u16string(u"OK\0", 3)), false, true, false, 0, QString("OK"),   6},
    {"Japanese text",            Units(std::u16string(u"計算\0", 3)), true, true, false, 0, QString("計算"), 6},
    {"text without its end",     Units(u"OK"),           false, false, false, 0,   QString(),               4},
    {"nothing at all",           {},                     true,  false, true,  0,   QString(),               0},
    {"half a unit",              {0x41},                 false, false, true,  0,   QString(),               0},
};
// clang-format on

TEST(ByteReader, ReadsOrdinalOrNameKeys) {
    for (const TextCase& c : kKeyCases) {
        ByteReader reader(c.bytes.data(), c.bytes.size());
        ResourceKey key = ReadKey(reader, c.zeroIsNone);
        EXPECT_EQ(reader.ok(), c.ok) << c.what;
        EXPECT_EQ(reader.offset(), c.offset) << c.what;
        if (!c.ok) continue;
        EXPECT_EQ(key.isOrdinal, c.isOrdinal) << c.what;
        if (c.isOrdinal) {
            EXPECT_EQ(key.ordinal, c.ordinal) << c.what;
        } else {
            EXPECT_EQ(key.text, c.text) << c.what;
        }
    }
}

TEST(ByteReader, ReadsCountedTextsOnlyWhenTheyFit) {
    Bytes bytes = Units(u"abc");
    for (std::size_t count = 0; count <= 4; ++count) {
        ByteReader reader(bytes.data(), bytes.size());
        std::u16string text = reader.Units(count);
        EXPECT_EQ(reader.ok(), count <= 3) << count;
        EXPECT_EQ(text, count <= 3 ? std::u16string(u"abc").substr(0, count) : std::u16string()) << count;
    }
    // A count far beyond the data does not wrap around.
    ByteReader reader(bytes.data(), bytes.size());
    reader.Units(static_cast<std::size_t>(-1));
    EXPECT_FALSE(reader.ok());
}

struct MatchCase {
    ResourceKey key;
    LPCWSTR wanted;
    bool matches;
};

TEST(ResourceKey, MatchesNamesAsProgramsPassThem) {
    ResourceKey ordinal{true, 105, QString()};
    ResourceKey name{false, 0, QString("LOGO")};
    // clang-format off
    const MatchCase cases[] = {
        {ordinal, MAKEINTRESOURCEW(105), true},
        {ordinal, MAKEINTRESOURCEW(106), false},
        {ordinal, L"#105",               true},
        {ordinal, L"#0105",              true},
        {ordinal, L"#",                  false},
        {ordinal, L"#1x5",               false},
        {ordinal, L"#65641",             false},  // 105 + 65536 is no ordinal
        {ordinal, L"LOGO",               false},
        {ordinal, nullptr,               false},
        {name,    L"logo",               true},
        {name,    L"LOGO2",              false},
        {name,    MAKEINTRESOURCEW(105), false},
        {name,    L"#105",               false},
    };
    // clang-format on
    for (const MatchCase& c : cases) {
        QString wanted = IS_INTRESOURCE(c.wanted) ? QString("#%1").arg(reinterpret_cast<ULONG_PTR>(c.wanted))
                                                  : QString::fromWCharArray(c.wanted);
        EXPECT_EQ(c.key.Matches(c.wanted), c.matches)
            << (c.key.isOrdinal ? "ordinal " : "name ") << wanted.toStdString();
    }
}

}  // namespace
