// Reads the compiled resources that the program embeds (kMiraboResource), with
// the byte and resource-file readers of resfile/, and checks them against what
// the program's windows and dialogs rely on: dialog templates control by
// control, strings, menu, menu-bar data, accelerators, version block, pictures
// and icon. The expected texts are written here as UTF-16 literals, so a wrong
// code page in the resource build shows up as a text mismatch.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "calc/calculators.h"
#include "calc/messages.h"
#include "res/embedded_resource.h"
#include "resfile/byte_reader.h"
#include "resfile/resource_file.h"
#include "resfile/resource_language.h"
#include "tests/res/expected_dialogs.h"
#include "text/utf8.h"

namespace {

using namespace mirabo;
using namespace mirabo::test;

using mirabo::ByteReader;

// Resource types.
constexpr std::uint16_t kRtIcon = 3;
constexpr std::uint16_t kRtBitmap = 2;
constexpr std::uint16_t kRtMenu = 4;
constexpr std::uint16_t kRtDialog = 5;
constexpr std::uint16_t kRtString = kResourceTypeString;
constexpr std::uint16_t kRtAccelerator = 9;
constexpr std::uint16_t kRtRcData = 10;
constexpr std::uint16_t kRtGroupIcon = 14;
constexpr std::uint16_t kRtVersion = 16;

// Languages of the resources: Japanese and English texts, neutral pictures.
constexpr std::uint16_t kJapanese = kLanguageJapanese;
constexpr std::uint16_t kEnglish = kLanguageEnglish;
constexpr std::uint16_t kNeutral = kLanguageNeutral;

// The file's entries; the file must read through to its end.
const std::vector<ResourceFileEntry>& Entries() {
    static const std::vector<ResourceFileEntry> entries = [] {
        std::vector<ResourceFileEntry> read;
        EXPECT_TRUE(ReadResourceFile(kMiraboResource, kMiraboResourceSize, &read)) << "a broken entry";
        return read;
    }();
    return entries;
}

ByteReader Over(std::span<const std::uint8_t> bytes) { return ByteReader(bytes.data(), bytes.size()); }
bool ReadToTheEnd(const ByteReader& r) { return r.ok() && r.remaining() == 0; }

// `n` bytes from the reader's place on, read past.
std::span<const std::uint8_t> Take(ByteReader& r, std::size_t n) {
    const std::span<const std::uint8_t> taken(r.here(), std::min(n, r.remaining()));
    r.Skip(n);
    return taken;
}

// The data of the resource with ordinal type and name in the language, or
// language-neutral; fails the test when there is not exactly one.
std::span<const std::uint8_t> Find(std::uint16_t type, std::uint16_t name,
                                   std::uint16_t language = kJapanese) {
    std::span<const std::uint8_t> found;
    int count = 0;
    for (const ResourceFileEntry& e : Entries())
        if (e.type.IsOrdinal(type) && e.name.IsOrdinal(name) &&
            (e.language == language || e.language == kNeutral)) {
            found = {e.data, e.size};
            ++count;
        }
    EXPECT_EQ(count, 1) << "resource type " << type << " name " << name << " language " << language;
    return found;
}

std::string Utf8(const std::u16string& s) { return Utf8FromUtf16(s); }

// The UTF-16 of a UTF-8 text of the Basic Multilingual Plane.
std::u16string Utf16(const std::string& s) {
    const std::wstring wide = WideFromUtf8(s);
    return std::u16string(wide.begin(), wide.end());
}

// ---------------------------------------------------------------------------
// The file as a whole

TEST(ResourceFileTest, StartsWithTheEmptyHeaderEntryAndHoldsEveryResourceOnce) {
    ASSERT_GE(kMiraboResourceSize, 32u);
    ByteReader first(kMiraboResource, 32);
    EXPECT_EQ(first.Dword(), 0u);   // no data
    EXPECT_EQ(first.Dword(), 32u);  // header size
    EXPECT_TRUE(ReadResourceName(first, false).IsOrdinal(0));
    EXPECT_TRUE(ReadResourceName(first, false).IsOrdinal(0));

    struct Wanted {
        std::uint16_t type, name;
    };
    // clang-format off
    const Wanted wanted[] = {
        {kRtString, 1},    {kRtString, 13},   {kRtString, 2501}, {kRtString, 2502},  // ids 1-3, 200-203, 40005/40014, 40027
        {kRtMenu, 102},    {kRtRcData, 102},  {kRtAccelerator, 3}, {kRtGroupIcon, 101},
        {kRtBitmap, 110},  {kRtBitmap, 112},  {kRtBitmap, 115},
        {kRtDialog, 103},  {kRtDialog, 104},  {kRtDialog, 105},   {kRtDialog, 108},
        {kRtDialog, 121},  {kRtVersion, 1},
    };
    // clang-format on
    for (const Wanted& w : wanted) {
        SCOPED_TRACE(testing::Message() << "type " << w.type << " name " << w.name);
        EXPECT_FALSE(Find(w.type, w.name).empty());
    }
}

// ---------------------------------------------------------------------------
// Strings

std::optional<std::u16string> LoadString(std::uint16_t id, std::uint16_t language = kJapanese) {
    for (const ResourceFileEntry& e : Entries()) {
        if (!e.type.IsOrdinal(kRtString) || !e.name.IsOrdinal(id / 16 + 1) || e.language != language)
            continue;
        ByteReader r(e.data, e.size);
        std::u16string s;
        for (int i = 0; i <= id % 16; ++i) s = r.Units(r.Word());
        EXPECT_TRUE(r.ok()) << "string " << id;
        return s.empty() ? std::nullopt : std::optional(s);
    }
    return std::nullopt;
}

TEST(ResourceFileTest, StringTableHoldsTheTitlesCaptionsAndMessages) {
    const std::map<std::uint16_t, std::u16string> strings = {
        {1, u"Mirabo for PocketPC"},
        {2, u"Mirabo for PocketPC with TAVORN"},
        {3, u"FORWINDOWSCE"},
        {40005, u"関数"},
        {40027, u"計算"},
        {40014, u"バージョン"},
        // The calculators' messages: the zero is the full-width U+FF10, the
        // third line of the question keeps its space before "。", and the
        // question ends without a question mark.
        {MSG_MISSING_INPUT, u"入力値が不足、\n或いはタイプミス"},
        {MSG_NEGATIVE_NOT_ALLOWED, u"入力値が不足、或いはタイプミス\n負の値は使用できません。"},
        {MSG_CALC_EXCEPTION, u"例外が発生しました。\n\uFF10で除算したか、入力値が間違っています。"},
        {MSG_CONFIRM_NONFINITE,
         u"正常に表示出来ません。\n引数及び結果が無限値、非数、\n計算不可値である可能性があります\u0020。\n無視して表示しますか"},
    };
    for (const auto& [id, text] : strings) {
        SCOPED_TRACE(testing::Message() << "string " << id);
        const auto loaded = LoadString(id);
        ASSERT_TRUE(loaded.has_value());
        EXPECT_EQ(Utf8(*loaded), Utf8(text));
    }
    EXPECT_FALSE(LoadString(4).has_value());
}

// ---------------------------------------------------------------------------
// Dialog templates

std::u16string ClassName(const ResourceName& n) {
    if (!n.isOrdinal) return n.text;
    switch (n.ordinal) {  // predefined class atoms mean the same classes
    case 0x80:
        return u"Button";
    case 0x81:
        return u"Edit";
    case 0x82:
        return u"Static";
    default:
        return u"(other class atom)";
    }
}

Dialog ReadDialog(std::uint16_t id, std::uint16_t language = kJapanese) {
    ByteReader r = Over(Find(kRtDialog, id, language));
    Dialog d;
    d.id = id;
    d.style = r.Dword();
    EXPECT_NE(d.style >> 16, 0xFFFFu) << "extended template; the program reads DLGTEMPLATE";
    d.exStyle = r.Dword();
    const std::uint16_t count = r.Word();
    r.Short();  // x
    r.Short();  // y
    d.cx = r.Short();
    d.cy = r.Short();
    for (const char* none : {"menu", "class"}) {
        const ResourceName name = ReadResourceName(r, false);
        EXPECT_TRUE(!name.isOrdinal && name.text.empty()) << "a " << none;
    }
    d.caption = r.Text();
    d.pointSize = 0;
    if (d.style & 0x40) {  // DS_SETFONT
        d.pointSize = r.Word();
        d.face = r.Text();
    }
    for (std::uint16_t i = 0; i < count; ++i) {
        r.AlignDword();
        Control c;
        c.style = r.Dword();
        r.Dword();  // extended style, checked below through the table
        c.x = r.Short();
        c.y = r.Short();
        c.cx = r.Short();
        c.cy = r.Short();
        c.id = r.Word();
        c.cls = ClassName(ReadResourceName(r, false));
        const ResourceName title = ReadResourceName(r, false);
        c.text = title.text;
        if (title.isOrdinal) c.image = title.ordinal;
        r.Skip(r.Word());  // creation data
        d.controls.push_back(c);
    }
    EXPECT_TRUE(r.ok()) << "dialog " << id;
    return d;
}

// A dialog's header without its caption: styles, size and font.
auto HeaderLayout(const Dialog& d) {
    return std::tuple(d.style, d.exStyle, d.cx, d.cy, d.pointSize, Utf8(d.face));
}

// A control without its text: identifier, class, style, rectangle and picture.
auto ControlLayout(const Control& c) {
    return std::tuple(c.id, Utf8(c.cls), c.style, c.x, c.y, c.cx, c.cy, c.image);
}

TEST(DialogTemplateTest, HeadersMatchTheDialogs) {
    for (const Dialog& want : ExpectedDialogs()) {
        SCOPED_TRACE(testing::Message() << "dialog " << want.id);
        const Dialog got = ReadDialog(want.id);
        EXPECT_EQ(HeaderLayout(got), HeaderLayout(want));
        EXPECT_EQ(Utf8(got.caption), Utf8(want.caption));
    }
}

TEST(DialogTemplateTest, ControlsComeInTabOrderWithTheirClassStyleRectangleAndText) {
    for (const Dialog& want : ExpectedDialogs()) {
        const Dialog got = ReadDialog(want.id);
        ASSERT_EQ(got.controls.size(), want.controls.size()) << "dialog " << want.id;
        for (std::size_t i = 0; i < want.controls.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "dialog " << want.id << " control #" << i + 1);
            EXPECT_EQ(ControlLayout(got.controls[i]), ControlLayout(want.controls[i]));
            EXPECT_EQ(Utf8(got.controls[i].text), Utf8(want.controls[i].text));
        }
    }
}

// The calculators as the solvers, the dialogs and the command line address
// them: their fields are exactly their templates' edit controls, in template
// order, read-only where they only show results; the first field is the first
// control, which takes the focus when the dialog opens; Calculate and Clear are
// the buttons that say so.
TEST(DialogTemplateTest, EachCalculatorsFieldsAndButtonsAreItsTemplatesControls) {
    constexpr std::uint32_t kReadOnly = 0x0800;  // ES_READONLY
    for (const mirabo::Calculator* calculator : mirabo::kCalculators) {
        SCOPED_TRACE(std::string(calculator->name));
        const Dialog dialog = ReadDialog(static_cast<std::uint16_t>(calculator->templateId));
        std::vector<std::pair<int, bool>> edits;  // identifier, read-only
        std::map<int, std::string> buttons;       // identifier, text
        for (const Control& control : dialog.controls) {
            if (control.cls == u"Edit") edits.push_back({control.id, (control.style & kReadOnly) != 0});
            if (control.cls == u"Button") buttons[control.id] = Utf8(control.text);
        }
        std::vector<std::pair<int, bool>> fields;
        for (const mirabo::CalculatorField& field : calculator->fields) {
            fields.push_back({field.controlId, field.role == mirabo::FieldRole::Result});
        }
        EXPECT_EQ(fields, edits);
        ASSERT_FALSE(dialog.controls.empty());
        EXPECT_EQ(mirabo::FirstFieldId(*calculator), dialog.controls.front().id);
        EXPECT_EQ(buttons[calculator->calculateId], "計算する");
        EXPECT_EQ(buttons[calculator->clearId], "クリア");
    }
}

TEST(DialogTemplateTest, PicturesNameBitmapsAndIconsThatExist) {
    for (const Dialog& want : ExpectedDialogs()) {
        for (const Control& c : ReadDialog(want.id).controls) {
            if (!c.image) continue;
            const std::uint16_t type = (c.style & 0x1F) == 0x0E ? kRtBitmap : kRtGroupIcon;
            EXPECT_FALSE(Find(type, *c.image).empty()) << "dialog " << want.id << " image " << *c.image;
        }
    }
}

// ---------------------------------------------------------------------------
// Menu, menu-bar data, accelerators

// A menu (by default 102) in the language, flattened: "POPUP text", "id text", "SEPARATOR",
// "END"; every byte of the resource read.
std::vector<std::string> FlatMenu(std::uint16_t language, std::uint16_t menu = 102) {
    ByteReader r = Over(Find(kRtMenu, menu, language));
    EXPECT_EQ(r.Word(), 0);  // version
    EXPECT_EQ(r.Word(), 0);  // header size
    std::vector<std::string> got;
    int depth = 0;
    std::vector<bool> lastAtDepth;
    bool lastTopLevel = false;
    while (r.remaining() > 0 && !lastTopLevel) {
        const std::uint16_t flags = r.Word();
        const bool last = (flags & 0x80) != 0;  // MF_END
        if (flags & 0x10) {                     // MF_POPUP
            got.push_back("POPUP " + Utf8(r.Text()));
            lastAtDepth.push_back(last);
            ++depth;
            continue;
        }
        const std::uint16_t id = r.Word();
        const std::u16string text = r.Text();
        if (id == 0 && text.empty())
            got.push_back("SEPARATOR");
        else
            got.push_back(std::to_string(id) + " " + Utf8(text));
        // Close every pop-up that this item ends.
        bool ends = last;
        while (ends && depth > 0) {
            got.push_back("END");
            --depth;
            ends = lastAtDepth.back();
            lastAtDepth.pop_back();
            if (depth == 0 && ends) lastTopLevel = true;
        }
    }
    EXPECT_TRUE(ReadToTheEnd(r));
    return got;
}

TEST(MenuTest, ThreePopUpsWithTheirItemsAndSeparators) {
    const std::vector<std::string> got = FlatMenu(kJapanese);
    // clang-format off
    const std::vector<std::string> want = {
        "POPUP 関数",
        "40006 座標移動の計算", "SEPARATOR", "40011 非直角三角形の計算", "SEPARATOR",
        "40008 直角三角形の計算", "SEPARATOR", "40007 終了", "END",
        "POPUP 計算", "40028 オームの法則の計算", "END",
        "POPUP バージョン", "40003 バージョン情報", "END",
    };
    // clang-format on
    EXPECT_EQ(got, want);

    // The register of calculators holds exactly the menus' calculator
    // commands, in the menus' order.
    std::vector<int> inMenus, registered;
    for (const std::string& item : got) {
        const int id = std::atoi(item.c_str());
        if (mirabo::CalculatorForCommand(id) != nullptr) inMenus.push_back(id);
    }
    for (const mirabo::Calculator* calculator : mirabo::kCalculators)
        registered.push_back(calculator->menuCommand);
    EXPECT_EQ(inMenus, registered);
}

TEST(MenuTest, MenuBarDataDescribesThreeTextDropDownButtons) {
    ByteReader r = Over(Find(kRtRcData, 102));
    std::vector<std::uint16_t> words;
    while (r.remaining() > 0) words.push_back(r.Word());
    // clang-format off
    const std::vector<std::uint16_t> want = {
        102, 3,
        0xFFFE, 40001, 4, 24, 40005, 0, 0,
        0xFFFE, 40025, 4, 24, 40027, 0, 1,
        0xFFFE, 40012, 4, 24, 40014, 0, 2,
    };
    // clang-format on
    EXPECT_EQ(words, want);
}

TEST(MenuTest, AcceleratorsAreCtrlAForAboutAndCtrlQForClose) {
    ByteReader r = Over(Find(kRtAccelerator, 3));
    struct Accel {
        std::uint16_t flags, key, command;
    };
    // clang-format off
    const Accel want[] = {
        {0x0B, 0x41, 40003},         // FVIRTKEY | FNOINVERT | FCONTROL
        {0x0B | 0x80, 0x51, 1},      // the last entry carries the end flag
    };
    // clang-format on
    for (const Accel& a : want) {
        SCOPED_TRACE(testing::Message() << "key " << a.key);
        EXPECT_EQ(r.Word(), a.flags);
        EXPECT_EQ(r.Word(), a.key);
        EXPECT_EQ(r.Word(), a.command);
        r.Word();  // padding
    }
    EXPECT_TRUE(ReadToTheEnd(r));
}

// ---------------------------------------------------------------------------
// English beside Japanese

// True when the text holds a Japanese character: kana, kanji, the CJK
// punctuation or a full-width form.
bool HasJapanese(const std::u16string& text) {
    for (char16_t c : text)
        if ((c >= 0x3000 && c <= 0x9FFF) || (c >= 0xFF00 && c <= 0xFFEF)) return true;
    return false;
}

// An English text for a Japanese one: the same where the Japanese holds no
// Japanese (letters, addresses, the version), else a text of its own.
void ExpectEnglishFor(const std::u16string& japanese, const std::u16string& english) {
    if (HasJapanese(japanese)) {
        EXPECT_FALSE(english.empty()) << Utf8(japanese);
        EXPECT_FALSE(HasJapanese(english)) << Utf8(japanese) << " -> " << Utf8(english);
    } else {
        EXPECT_EQ(Utf8(english), Utf8(japanese));
    }
}

TEST(LanguagesTest, EveryResourceWithWordsIsInJapaneseAndInEnglishTheOthersAreNeutral) {
    std::vector<std::pair<std::uint16_t, std::uint16_t>> japanese, english;  // type, name
    for (const ResourceFileEntry& e : Entries()) {
        ASSERT_TRUE(e.type.isOrdinal && e.name.isOrdinal);
        const std::uint16_t type = e.type.ordinal;
        SCOPED_TRACE(testing::Message() << "type " << type << " name " << e.name.ordinal);
        const bool hasWords = type == kRtString || type == kRtMenu || type == kRtDialog || type == kRtRcData;
        if (type == kRtVersion) {
            EXPECT_EQ(e.language, kJapanese);
        } else if (e.language == kJapanese) {
            EXPECT_TRUE(hasWords);
            japanese.push_back({type, e.name.ordinal});
        } else if (e.language == kEnglish) {
            english.push_back({type, e.name.ordinal});
        } else {
            EXPECT_EQ(e.language, kNeutral);
            EXPECT_FALSE(hasWords);
        }
    }
    EXPECT_FALSE(japanese.empty());
    std::sort(japanese.begin(), japanese.end());
    std::sort(english.begin(), english.end());
    EXPECT_EQ(japanese, english);
}

TEST(LanguagesTest, EveryStringHasAnEnglishTextTheTitleAndClassAreTheSame) {
    int strings = 0;
    for (const ResourceFileEntry& e : Entries()) {
        if (!e.type.IsOrdinal(kRtString) || e.language != kJapanese) continue;
        for (int i = 0; i < 16; ++i) {
            const auto id = static_cast<std::uint16_t>((e.name.ordinal - 1) * 16 + i);
            SCOPED_TRACE(testing::Message() << "string " << id);
            const auto japanese = LoadString(id, kJapanese);
            const auto english = LoadString(id, kEnglish);
            ASSERT_EQ(japanese.has_value(), english.has_value());
            if (!japanese) continue;
            ++strings;
            ExpectEnglishFor(*japanese, *english);
        }
    }
    EXPECT_GE(strings, 14);
    // A copy started in one language finds the running copy of the other.
    for (std::uint16_t id : {1, 3}) EXPECT_EQ(LoadString(id, kEnglish), LoadString(id, kJapanese));
}

TEST(LanguagesTest, EnglishDialogsHaveTheSameControlsIdentifiersStylesAndLayout) {
    for (const Dialog& want : ExpectedDialogs()) {
        SCOPED_TRACE(testing::Message() << "dialog " << want.id);
        const Dialog japanese = ReadDialog(want.id, kJapanese);
        const Dialog english = ReadDialog(want.id, kEnglish);
        EXPECT_EQ(HeaderLayout(english), HeaderLayout(japanese));
        ExpectEnglishFor(japanese.caption, english.caption);
        ASSERT_EQ(english.controls.size(), japanese.controls.size());
        for (std::size_t i = 0; i < japanese.controls.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "control #" << i + 1);
            EXPECT_EQ(ControlLayout(english.controls[i]), ControlLayout(japanese.controls[i]));
            ExpectEnglishFor(japanese.controls[i].text, english.controls[i].text);
        }
    }
}

TEST(LanguagesTest, EnglishMenusHaveTheSameItemsAndTheMenuBarTheSameData) {
    for (std::uint16_t menu : {102, 130}) {  // the main menu, the edit menu
        const std::vector<std::string> japanese = FlatMenu(kJapanese, menu);
        const std::vector<std::string> english = FlatMenu(kEnglish, menu);
        ASSERT_EQ(english.size(), japanese.size()) << "menu " << menu;
        for (std::size_t i = 0; i < japanese.size(); ++i) {
            // The kind of item and its command stay; the words are English.
            const std::size_t space = japanese[i].find(' ');
            const std::size_t words = space == std::string::npos ? japanese[i].size() : space + 1;
            EXPECT_EQ(english[i].substr(0, words), japanese[i].substr(0, words));
            ExpectEnglishFor(Utf16(japanese[i].substr(words)), Utf16(english[i].substr(words)));
        }
    }
    const auto ja = Find(kRtRcData, 102, kJapanese);
    const auto en = Find(kRtRcData, 102, kEnglish);
    EXPECT_TRUE(std::equal(ja.begin(), ja.end(), en.begin(), en.end()));
}

// ---------------------------------------------------------------------------
// Version block

struct VersionNode {
    std::u16string key;
    std::uint16_t type = 0;
    std::u16string text;
    std::span<const std::uint8_t> value;
    std::vector<VersionNode> children;
};

VersionNode ReadVersionNode(ByteReader& r) {
    const std::size_t start = r.offset();
    const std::uint16_t length = r.Word();
    const std::uint16_t valueLength = r.Word();
    VersionNode n;
    n.type = r.Word();
    n.key = r.Text();
    r.AlignDword();
    if (valueLength) {
        if (n.type == 1) {
            const std::size_t at = r.offset();
            n.text = r.Text();
            r.Seek(at + 2u * valueLength);
        } else {
            n.value = Take(r, valueLength);
        }
    }
    r.AlignDword();
    while (r.offset() < start + length) {
        n.children.push_back(ReadVersionNode(r));
        r.AlignDword();
    }
    return n;
}

const VersionNode* Child(const VersionNode& n, const std::u16string& key) {
    for (const VersionNode& c : n.children)
        if (c.key == key) return &c;
    return nullptr;
}

TEST(VersionTest, FixedPartGivesVersionFlagsSystemAndType) {
    ByteReader r = Over(Find(kRtVersion, 1));
    const VersionNode root = ReadVersionNode(r);
    EXPECT_EQ(Utf8(root.key), "VS_VERSION_INFO");
    ASSERT_EQ(root.value.size(), 52u);
    ByteReader f = Over(root.value);
    // clang-format off
    const std::uint32_t want[] = {
        0xFEEF04BD, 0x00010000,  // signature, structure version
        0x00010001, 0x00000000,  // file version 1.1.0.0
        0x00010001, 0x00000000,  // product version 1.1.0.0
        0x3F, 0x28,              // flag mask, VS_FF_PRIVATEBUILD | VS_FF_SPECIALBUILD
        0x40004, 1, 0,           // VOS_NT_WINDOWS32, VFT_APP, no subtype
    };
    // clang-format on
    for (std::uint32_t w : want) EXPECT_EQ(f.Dword(), w);
}

TEST(VersionTest, JapaneseUnicodeStringTableHoldsTheProductTexts) {
    ByteReader r = Over(Find(kRtVersion, 1));
    const VersionNode root = ReadVersionNode(r);
    const VersionNode* info = Child(root, u"StringFileInfo");
    ASSERT_NE(info, nullptr);
    const VersionNode* table = Child(*info, u"041104B0");
    ASSERT_NE(table, nullptr);
    const std::map<std::u16string, std::u16string> want = {
        {u"FileDescription", u"Mirabo for PocketPC"},
        {u"FileVersion", u"1, 1, 0, 0"},
        {u"InternalName", u"Mirabo for PocetPC with TAVORN"},
        {u"LegalTrademarks", u"Mirabo for PocketPC with TAVORN"},
        {u"OriginalFilename", u"Mirabo for PocketPC.exe"},
        {u"PrivateBuild", u"1,1"},
        {u"ProductName", u"Mirabo for PocketPC with TAVORN"},
        {u"ProductVersion", u"1, 1, 0, 0"},
        {u"SpecialBuild", u"for TAVORN(R)"},
    };
    for (const auto& [key, value] : want) {
        SCOPED_TRACE(Utf8(key));
        const VersionNode* v = Child(*table, key);
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(v->type, 1);
        EXPECT_EQ(Utf8(v->text), Utf8(value));
    }
    for (const char16_t* key : {u"Comments", u"CompanyName", u"LegalCopyright"}) {
        const VersionNode* v = Child(*table, key);
        ASSERT_NE(v, nullptr) << Utf8(key);
        EXPECT_FALSE(v->text.empty()) << Utf8(key);
    }

    const VersionNode* var = Child(root, u"VarFileInfo");
    ASSERT_NE(var, nullptr);
    const VersionNode* translation = Child(*var, u"Translation");
    ASSERT_NE(translation, nullptr);
    ByteReader t = Over(translation->value);
    EXPECT_EQ(t.Word(), 0x0411);
    EXPECT_EQ(t.Word(), 1200);
    EXPECT_TRUE(ReadToTheEnd(t));
}

// ---------------------------------------------------------------------------
// Pictures and icon

struct Rgb {
    std::uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};
constexpr Rgb kBlackRgb{0, 0, 0};
constexpr Rgb kRedRgb{255, 0, 0};
constexpr Rgb kWhiteRgb{255, 255, 255};
constexpr Rgb kYellowRgb{255, 255, 0};

// A device-independent bitmap as stored in BITMAP and ICON resources.
struct Dib {
    std::int32_t width = 0;
    std::int32_t height = 0;  // as stored: icons hold twice the image height
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    std::vector<Rgb> palette;
    std::span<const std::uint8_t> bits;

    std::size_t Stride(int bpp) const { return ((static_cast<std::size_t>(width) * bpp + 31) / 32) * 4; }
    // Colour of pixel (x, y), y counted from the top of an image of the given
    // height, in the colour rows that follow the palette.
    Rgb ColourAt(int x, int y, int imageHeight) const {
        const std::size_t row = static_cast<std::size_t>(imageHeight - 1 - y);
        const std::uint8_t* p = bits.data() + row * Stride(bitCount);
        std::uint8_t index = 0;
        if (bitCount == 8) index = p[x];
        if (bitCount == 4) index = (x % 2 == 0) ? p[x / 2] >> 4 : p[x / 2] & 0x0F;
        return palette.at(index);
    }
};

Dib ReadDib(std::span<const std::uint8_t> data) {
    ByteReader r = Over(data);
    Dib d;
    const std::uint32_t headerSize = r.Dword();
    EXPECT_EQ(headerSize, 40u);
    d.width = r.Long();
    d.height = r.Long();
    EXPECT_EQ(r.Word(), 1);  // planes
    d.bitCount = r.Word();
    d.compression = r.Dword();
    r.Seek(32);
    std::uint32_t used = r.Dword();
    if (used == 0) used = 1u << d.bitCount;
    r.Seek(headerSize);
    for (std::uint32_t i = 0; i < used; ++i) {
        const std::uint8_t b = r.Byte();
        const std::uint8_t g = r.Byte();
        const std::uint8_t red = r.Byte();
        r.Byte();
        d.palette.push_back({red, g, b});
    }
    EXPECT_TRUE(r.ok());
    d.bits = data.subspan(r.offset());
    return d;
}

std::vector<std::pair<int, int>> Corners(int width, int height) {
    return {{0, 0}, {width - 1, 0}, {0, height - 1}, {width - 1, height - 1}};
}

struct Picture {
    std::uint16_t id;
    int width, height;
};
const Picture kPictures[] = {{110, 119, 118}, {112, 128, 127}, {115, 128, 127}};

TEST(PictureTest, BitmapsAre8BitWithABlackRedWhitePaletteAndAWhiteBackground) {
    for (const Picture& p : kPictures) {
        SCOPED_TRACE(testing::Message() << "bitmap " << p.id);
        const Dib d = ReadDib(Find(kRtBitmap, p.id));
        EXPECT_EQ(d.width, p.width);
        EXPECT_EQ(d.height, p.height);  // bottom-up rows
        EXPECT_EQ(d.bitCount, 8);
        EXPECT_EQ(d.compression, 0u);
        ASSERT_EQ(d.palette.size(), 256u);
        for (const Rgb& c : d.palette) EXPECT_TRUE(c == kBlackRgb || c == kRedRgb || c == kWhiteRgb);
        ASSERT_GE(d.bits.size(), d.Stride(8) * static_cast<std::size_t>(p.height));

        for (const auto& [x, y] : Corners(p.width, p.height))
            EXPECT_EQ(d.ColourAt(x, y, p.height), kWhiteRgb) << "corner " << x << "," << y;
        int black = 0, red = 0;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) {
                const Rgb c = d.ColourAt(x, y, p.height);
                black += c == kBlackRgb;
                red += c == kRedRgb;
            }
        EXPECT_GT(black, 0) << "lines and letters";
        EXPECT_GT(red, 0) << "angle sectors";
    }
}

int RedPixels(std::uint16_t id) {
    const Dib d = ReadDib(Find(kRtBitmap, id));
    int red = 0;
    for (int y = 0; y < d.height; ++y)
        for (int x = 0; x < d.width; ++x) red += d.ColourAt(x, y, d.height) == kRedRgb;
    return red;
}

TEST(PictureTest, ObliqueTriangleHasAThirdRedSectorWhereTheRightTriangleHasItsSquare) {
    EXPECT_GT(RedPixels(115), RedPixels(112));
}

TEST(PictureTest, IconGroupHoldsOpaque16ColourImagesOf32And16Pixels) {
    ByteReader r = Over(Find(kRtGroupIcon, 101));
    EXPECT_EQ(r.Word(), 0);
    EXPECT_EQ(r.Word(), 1);  // icons
    const std::uint16_t count = r.Word();
    ASSERT_EQ(count, 2);
    const int sizes[] = {32, 16};
    for (int size : sizes) {
        SCOPED_TRACE(testing::Message() << size << " x " << size);
        EXPECT_EQ(r.Byte(), size);
        EXPECT_EQ(r.Byte(), size);
        EXPECT_EQ(r.Byte(), 16);  // colours
        r.Byte();
        EXPECT_EQ(r.Word(), 1);  // planes
        EXPECT_EQ(r.Word(), 4);  // bits per pixel
        const std::uint32_t bytes = r.Dword();
        const std::uint16_t iconId = r.Word();

        const auto data = Find(kRtIcon, iconId);
        EXPECT_EQ(data.size(), bytes);
        const Dib d = ReadDib(data);
        EXPECT_EQ(d.width, size);
        EXPECT_EQ(d.height, 2 * size);  // colour rows and mask rows
        EXPECT_EQ(d.bitCount, 4);
        ASSERT_EQ(d.palette.size(), 16u);
        const std::size_t colourBytes = d.Stride(4) * static_cast<std::size_t>(size);
        const std::size_t maskBytes = d.Stride(1) * static_cast<std::size_t>(size);
        ASSERT_EQ(d.bits.size(), colourBytes + maskBytes);

        // Opaque square: black corners, every mask bit clear.
        for (const auto& [x, y] : Corners(size, size))
            EXPECT_EQ(d.ColourAt(x, y, size), kBlackRgb) << "corner " << x << "," << y;
        for (std::size_t i = colourBytes; i < d.bits.size(); ++i)
            EXPECT_EQ(d.bits[i], 0) << "mask byte " << i;
        // Red disc shows above the slanted side, the yellow triangle fills the
        // part towards its right angle at the bottom-right.
        EXPECT_EQ(d.ColourAt(size / 4, size / 4, size), kRedRgb);
        EXPECT_EQ(d.ColourAt(size * 3 / 4 - 1, size * 3 / 4 - 1, size), kYellowRgb);
    }
}

}  // namespace
