// The menu-bar data (RCDATA) a Pocket PC menu bar is made from, on both
// platforms: the menu its pop-ups come from, and its buttons.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mirabo::platform {

// One button of the menu-bar data.
struct MenuBarButton {
    std::int16_t image = 0;
    std::uint16_t command = 0;  // sent when the button is tapped
    std::uint8_t state = 0;     // TBSTATE_ flags
    std::uint8_t style = 0;     // TBSTYLE_ flags
    std::uint16_t caption = 0;  // the string resource of its text
    std::uint16_t popup = 0;    // the index of its pop-up in the menu
};

// Reads menu-bar data: the menu's identifier, the button count, then seven
// 16-bit words per button (image, command, state, style, caption string, 0,
// pop-up index). False, with no buttons and `menuId` as it was, when `size`
// bytes do not hold it all.
bool ParseMenuBarData(const void* data, std::size_t size, std::uint16_t* menuId,
                      std::vector<MenuBarButton>* buttons);

}  // namespace mirabo::platform
