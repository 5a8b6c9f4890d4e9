// The menu-bar data both platforms build their menu bars from: the menu's
// identifier and the buttons, and data too short for what it says it holds.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/menu_bar_data.h"
#include "tests/ui/little_endian.h"

namespace {

using mirabo::platform::MenuBarButton;
using mirabo::platform::ParseMenuBarData;

using Bytes = std::vector<unsigned char>;

// 16-bit words as they are stored, low byte first.
Bytes Words(const std::vector<std::uint16_t>& words) { return mirabo::test::LittleEndian(words); }

Bytes Cut(Bytes bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}

// Menu 102 and two text-only drop-down buttons with their pop-ups 0 and 1.
const Bytes kTwoButtons = Words({102, 2,                               //
                                 0xFFFE, 40001, 0x04, 24, 1001, 0, 0,  //
                                 0xFFFE, 40002, 0x04, 24, 1002, 0, 1});

struct ParseCase {
    const char* what;
    Bytes bytes;
    bool read;
    std::uint16_t menuId;  // 7 when the data is refused: left as it was
    std::vector<MenuBarButton> buttons;
};

const MenuBarButton kFirst{-2, 40001, 0x04, 24, 1001, 0};
const MenuBarButton kSecond{-2, 40002, 0x04, 24, 1002, 1};

// clang-format off
const ParseCase kCases[] = {
    {"two buttons",                  kTwoButtons,                     true,  102, {kFirst, kSecond}},
    {"bytes after the last button",  Words({102, 1, 0xFFFE, 40001, 4, 24, 1001, 0, 0, 0xABCD}), true, 102, {kFirst}},
    {"no buttons",                   Words({5, 0}),                   true,  5,   {}},
    {"state and style: low bytes",   Words({5, 1, 3, 9, 0x0104, 0x0200, 8, 0, 2}), true, 5, {{3, 9, 0x04, 0x00, 8, 2}}},
    {"nothing",                      {},                              false, 7,   {}},
    {"no count",                     Words({102}),                    false, 7,   {}},
    {"half a count",                 Cut(Words({102, 1}), 3),          false, 7,   {}},
    {"a button a byte short",        Cut(kTwoButtons, kTwoButtons.size() - 1), false, 7, {}},
    {"a count beyond the buttons",   Words({102, 3, 0xFFFE, 40001, 4, 24, 1001, 0, 0}), false, 7, {}},
    {"the largest count",            Words({102, 0xFFFF, 1, 2, 3, 4, 5, 6, 7}), false, 7, {}},
};
// clang-format on

bool Same(const MenuBarButton& a, const MenuBarButton& b) {
    return a.image == b.image && a.command == b.command && a.state == b.state && a.style == b.style &&
           a.caption == b.caption && a.popup == b.popup;
}

TEST(MenuBarData, ReadsTheMenuAndEveryButtonOrNothing) {
    for (const ParseCase& c : kCases) {
        std::uint16_t menuId = 7;
        std::vector<MenuBarButton> buttons = {kFirst};  // left from before: cleared
        EXPECT_EQ(ParseMenuBarData(c.bytes.data(), c.bytes.size(), &menuId, &buttons), c.read) << c.what;
        EXPECT_EQ(menuId, c.menuId) << c.what;
        ASSERT_EQ(buttons.size(), c.buttons.size()) << c.what;
        for (std::size_t i = 0; i < buttons.size(); ++i)
            EXPECT_TRUE(Same(buttons[i], c.buttons[i])) << c.what << " " << i;
    }
}

TEST(MenuBarData, NoDataIsNoBar) {
    std::uint16_t menuId = 7;
    std::vector<MenuBarButton> buttons;
    EXPECT_FALSE(ParseMenuBarData(nullptr, 18, &menuId, &buttons));
    EXPECT_EQ(menuId, 7);
    EXPECT_TRUE(buttons.empty());
}

}  // namespace
