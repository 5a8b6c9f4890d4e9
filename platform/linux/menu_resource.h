// The two resources a Pocket PC menu bar is made from: a menu resource (its
// pop-ups and their items) and the menu-bar data (RCDATA) that names the
// menu and lists the bar's buttons.
#pragma once

#include <QString>

#include <cstddef>
#include <vector>

#include "platform/linux/win32_api.h"

namespace mirabo::platform {

// An item of a menu resource: a command, a separator or a pop-up.
struct MenuItem {
    enum class Kind { Command, Separator, Popup };
    Kind kind = Kind::Command;
    WORD id = 0;
    WORD flags = 0;
    QString text;
    std::vector<MenuItem> children;
};

// The item flags of a menu resource that the menu bar looks at.
constexpr WORD kMfGrayed = 0x0001;
constexpr WORD kMfDisabled = 0x0002;

// Reads a menu resource (MENUHEADER and the items that follow); false when
// it is not one or does not fit in `size` bytes.
bool ParseMenu(const unsigned char* data, std::size_t size, std::vector<MenuItem>* items);

// One button of the menu-bar data.
struct MenuBarButton {
    short image = 0;
    WORD command = 0;
    BYTE state = 0;
    BYTE style = 0;
    WORD caption = 0;
    WORD popup = 0;
};

// Reads menu-bar data: the menu's identifier, the button count, then seven
// 16-bit words per button.
bool ParseMenuBarData(const unsigned char* data, std::size_t size, WORD* menuId,
                      std::vector<MenuBarButton>* buttons);

}  // namespace mirabo::platform
