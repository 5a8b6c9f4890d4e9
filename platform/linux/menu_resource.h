// The menu resource a Pocket PC menu bar takes its pop-ups and their items
// from (the menu-bar data that names it is platform/menu_bar_data.h).
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

}  // namespace mirabo::platform
