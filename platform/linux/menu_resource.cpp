#include "platform/linux/menu_resource.h"

#include "resfile/byte_reader.h"

namespace mirabo::platform {

namespace {

constexpr WORD kMfPopup = 0x0010;
constexpr WORD kMfEnd = 0x0080;
constexpr WORD kMfSeparator = 0x0800;

// Pop-ups nest no deeper than this.
constexpr int kMaxDepth = 8;

bool ParseItems(ByteReader& reader, int depth, std::vector<MenuItem>* items) {
    if (depth > kMaxDepth) return false;
    for (;;) {
        MenuItem item;
        item.flags = reader.Word();
        if (item.flags & kMfPopup) {
            // A pop-up: its text, then its own items.
            item.kind = MenuItem::Kind::Popup;
            item.text = QString::fromStdU16String(reader.Text());
            if (!reader.ok()) return false;
            if (!ParseItems(reader, depth + 1, &item.children)) return false;
        } else {
            // A command: its identifier and its text.
            item.id = reader.Word();
            item.text = QString::fromStdU16String(reader.Text());
            if (!reader.ok()) return false;
            bool separator = (item.flags & kMfSeparator) || (item.id == 0 && item.text.isEmpty());
            item.kind = separator ? MenuItem::Kind::Separator : MenuItem::Kind::Command;
        }
        bool last = item.flags & kMfEnd;
        items->push_back(std::move(item));
        if (last) return true;
    }
}

}  // namespace

bool ParseMenu(const unsigned char* data, std::size_t size, std::vector<MenuItem>* items) {
    items->clear();
    ByteReader reader(data, size);
    // MENUHEADER: version 0 and the size of what follows it before the items.
    WORD version = reader.Word();
    WORD headerSize = reader.Word();
    if (!reader.ok() || version != 0) return false;
    reader.Skip(headerSize);
    if (reader.remaining() == 0) return false;
    return ParseItems(reader, 0, items);
}

}  // namespace mirabo::platform
