#include "platform/menu_bar_data.h"

#include "resfile/byte_reader.h"

namespace mirabo::platform {

namespace {

constexpr std::size_t kButtonBytes = 14;

}  // namespace

bool ParseMenuBarData(const void* data, std::size_t size, std::uint16_t* menuId,
                      std::vector<MenuBarButton>* buttons) {
    buttons->clear();
    ByteReader reader(data, size);
    const std::uint16_t id = reader.Word();
    const std::uint16_t count = reader.Word();
    if (!reader.ok() || kButtonBytes * count > reader.remaining()) return false;
    buttons->reserve(count);
    for (std::uint16_t i = 0; i < count; ++i) {
        MenuBarButton button;
        button.image = reader.Short();
        button.command = reader.Word();
        button.state = static_cast<std::uint8_t>(reader.Word());
        button.style = static_cast<std::uint8_t>(reader.Word());
        button.caption = reader.Word();
        reader.Word();  // always 0
        button.popup = reader.Word();
        buttons->push_back(button);
    }
    *menuId = id;
    return true;
}

}  // namespace mirabo::platform
