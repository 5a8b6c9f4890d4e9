// The program's dialog templates as a table: what the resource compiler must
// make of res/mirabo.rc, and what the platform layer must read from it.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace mirabo::test {

struct Control {
    std::uint16_t id;
    std::u16string cls;
    std::uint32_t style;
    std::int16_t x, y, cx, cy;
    std::u16string text;                 // when the title is a text
    std::optional<std::uint16_t> image;  // when the title is a resource ordinal
};

struct Dialog {
    std::uint16_t id;
    std::uint32_t style;
    std::uint32_t exStyle;
    std::int16_t cx, cy;
    std::u16string caption;
    std::uint16_t pointSize;
    std::u16string face;
    std::vector<Control> controls;
};

inline void PrintTo(const Dialog& d, std::ostream* os) { *os << "template " << d.id; }

// Control kinds.
inline constexpr std::uint32_t kInput = 0x50810080;
inline constexpr std::uint32_t kResult = 0x50810880;
inline constexpr std::uint32_t kPush = 0x50010000;
inline constexpr std::uint32_t kDefault = 0x50010001;
inline constexpr std::uint32_t kLabel = 0x50020000;
inline constexpr std::uint32_t kLabelNoPrefix = 0x50020080;
inline constexpr std::uint32_t kLabelCentred = 0x50020001;
inline constexpr std::uint32_t kPicture = 0x5000000E;
inline constexpr std::uint32_t kIcon = 0x50000003;
inline constexpr std::uint16_t kNoId = 65535;

inline Control Edit(std::uint16_t id, std::uint32_t style, std::int16_t x, std::int16_t y, std::int16_t cx,
                    std::int16_t cy) {
    return {id, u"Edit", style, x, y, cx, cy, u"", std::nullopt};
}
inline Control Button(std::uint16_t id, std::uint32_t style, std::int16_t x, std::int16_t y, std::int16_t cx,
                      std::int16_t cy, std::u16string text) {
    return {id, u"Button", style, x, y, cx, cy, std::move(text), std::nullopt};
}
inline Control Static(std::uint32_t style, std::int16_t x, std::int16_t y, std::int16_t cx, std::int16_t cy,
                      std::u16string text) {
    return {kNoId, u"Static", style, x, y, cx, cy, std::move(text), std::nullopt};
}
inline Control Image(std::uint32_t style, std::int16_t x, std::int16_t y, std::int16_t cx, std::int16_t cy,
                     std::uint16_t resource) {
    return {kNoId, u"Static", style, x, y, cx, cy, u"", resource};
}

inline const std::vector<Dialog>& ExpectedDialogs() {
    // clang-format off
    static const std::vector<Dialog> dialogs = {
        {103, 0x80C00040, 0x80000000, 181, 171, u"Mirabo\u3000for WindowsCE のバージョン情報", 9, u"MS UI Gothic",
         {
             Image(kIcon, 11, 17, 20, 21, 101),
             Static(kLabelNoPrefix, 36, 18, 132, 8, u"Mirabo for PocketPC(TAVORN版)"),
             Static(kLabel, 55, 63, 96, 8, u"(C) 2026 Mirabo"),
             Static(kLabel, 44, 48, 110, 10, u"      プログラム製作\u3000Mirabo"),
             Static(kLabel, 72, 31, 78, 12, u"public ver. 1.1"),
             Static(kLabel, 60, 90, 69, 12, u"mirabo@example.org"),
             Static(kLabel, 22, 76, 146, 10, u"https://mirabo.example.org/"),
         }},
        {104, 0x80C800C0, 0, 179, 133, u"座標移動の計算", 10, u"ＭＳ ゴシック",
         {
             Edit(1001, kInput, 134, 1, 44, 12),
             Edit(1002, kInput, 134, 14, 44, 12),
             Edit(1003, kInput, 134, 27, 44, 12),
             Button(1004, kPush, 140, 68, 39, 13, u"計算する"),
             Button(2, kPush, 140, 83, 39, 13, u"戻る"),
             Button(1005, kPush, 140, 98, 39, 13, u"クリア"),
             Edit(1006, kResult, 134, 40, 44, 12),
             Edit(1007, kResult, 134, 53, 44, 12),
             Static(kLabelCentred, 74, 2, 55, 12, u"移動するXの値"),
             Static(kLabelNoPrefix, 77, 15, 53, 12, u"移動するYの値"),
             Static(kLabelNoPrefix, 77, 27, 49, 12, u"移動する角度"),
             Static(kLabelNoPrefix, 77, 40, 56, 11, u"移動後のXの値"),
             Static(kLabelNoPrefix, 77, 53, 55, 10, u"移動後のYの値"),
             Image(kPicture, 0, 3, 68, 73, 110),
         }},
        {105, 0x80C800C0, 0, 210, 167, u"直角三角関数の計算", 9, u"ＭＳ ゴシック",
         {
             Edit(1001, kInput, 147, 0, 60, 13),
             Edit(1002, kInput, 147, 14, 60, 13),
             Edit(1003, kInput, 147, 28, 60, 13),
             Edit(1004, kInput, 147, 42, 60, 13),
             Edit(1005, kInput, 147, 56, 60, 13),
             Button(1006, kDefault, 164, 73, 43, 14, u"計算する"),
             Button(1007, kPush, 164, 105, 43, 14, u"クリア"),
             Button(2, kPush, 164, 89, 43, 14, u"戻る"),
             Static(kLabel, 130, 2, 10, 9, u"a"),
             Static(kLabel, 130, 16, 10, 10, u"b"),
             Static(kLabel, 130, 29, 10, 9, u"c"),
             Static(kLabel, 127, 43, 12, 9, u"α"),
             Static(kLabel, 128, 59, 11, 9, u"β"),
             Image(kPicture, 10, 0, 85, 85, 112),
         }},
        {108, 0x80C800C0, 0, 210, 167, u"非直角三角形の計算", 9, u"ＭＳ ゴシック",
         {
             Edit(1001, kInput, 136, 0, 71, 12),
             Edit(1002, kInput, 136, 12, 71, 12),
             Edit(1003, kInput, 136, 24, 71, 12),
             Button(1004, kPush, 162, 75, 45, 12, u"計算する"),
             Button(1005, kPush, 162, 105, 45, 12, u"クリア"),
             Button(2, kPush, 162, 90, 45, 12, u"戻る"),
             Static(kLabel, 123, 14, 10, 10, u"b"),
             Static(kLabel, 122, 1, 10, 10, u"a"),
             Static(kLabel, 123, 26, 10, 9, u"c"),
             Edit(1006, kInput, 136, 36, 71, 12),
             Static(kLabel, 121, 37, 10, 8, u"α"),
             Image(kPicture, 12, 0, 85, 85, 115),
             Edit(1007, kInput, 136, 48, 71, 12),
             Edit(1008, kInput, 136, 60, 71, 12),
             Static(kLabel, 121, 50, 10, 8, u"β"),
             Static(kLabel, 121, 62, 10, 8, u"γ"),
         }},
        {121, 0x80C800C0, 0, 181, 112, u"オームの法則の計算", 9, u"System",
         {
             Edit(1001, kInput, 76, 8, 64, 12),
             Edit(1002, kInput, 76, 21, 64, 12),
             Edit(1003, kInput, 76, 34, 64, 12),
             Edit(1004, kInput, 76, 47, 64, 12),
             Button(1006, kDefault, 141, 62, 37, 12, u"計算する"),
             Button(1007, kPush, 141, 90, 37, 12, u"クリア"),
             Button(2, kPush, 141, 76, 37, 12, u"戻る"),
             Static(kLabel, 33, 9, 30, 11, u"電圧（V)"),
             Static(kLabel, 33, 22, 30, 11, u"電流（A)"),
             Static(kLabel, 33, 35, 33, 11, u"抵抗（Ω）"),
             Static(kLabel, 33, 47, 34, 11, u"電力（W)"),
         }},
    };
    // clang-format on
    return dialogs;
}

}  // namespace mirabo::test
