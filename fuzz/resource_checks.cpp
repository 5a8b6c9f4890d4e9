#include "fuzz/resource_checks.h"

#include <QImage>

#include <vector>

#include "fuzz/fuzz_check.h"
#include "platform/linux/accelerator_table.h"
#include "platform/linux/dialog_template.h"
#include "platform/linux/dib.h"
#include "platform/linux/menu_resource.h"
#include "platform/linux/string_table.h"
#include "platform/menu_bar_data.h"

namespace mirabo::fuzz {
namespace {

using namespace mirabo::platform;

unsigned Word(const unsigned char* data, std::size_t at) { return data[at] | (data[at + 1] << 8); }
unsigned long Dword(const unsigned char* data, std::size_t at) {
    return Word(data, at) | (static_cast<unsigned long>(Word(data, at + 2)) << 16);
}

bool SameKey(const ResourceKey& a, const ResourceKey& b) {
    return a.isOrdinal == b.isOrdinal && a.ordinal == b.ordinal && a.text == b.text;
}

void CheckDialogTemplate(const unsigned char* data, std::size_t size) {
    DialogTemplate first;
    DialogTemplate second;
    const bool read = ParseDialogTemplate(data, size, &first);
    FUZZ_CHECK(ParseDialogTemplate(data, size, &second) == read);
    // The extended form is never taken for the classic one.
    if (size >= 4 && Word(data, 0) == 1 && Word(data, 2) == 0xFFFF) FUZZ_CHECK(!read);
    if (!read) return;
    FUZZ_CHECK(size >= 18);
    FUZZ_CHECK(first.style == Dword(data, 0) && first.exStyle == Dword(data, 4));
    FUZZ_CHECK(first.items.size() == Word(data, 8));
    FUZZ_CHECK(first.hasFont == ((first.style & DS_SETFONT) != 0));
    FUZZ_CHECK(!first.title.contains(QChar(0)) && !first.faceName.contains(QChar(0)));
    // Every item takes at least 18 bytes after the header.
    FUZZ_CHECK(18 + 18 * first.items.size() <= size);
    FUZZ_CHECK(first.title == second.title && first.items.size() == second.items.size());
    for (std::size_t i = 0; i < first.items.size(); ++i) {
        const DialogItemTemplate& a = first.items[i];
        const DialogItemTemplate& b = second.items[i];
        FUZZ_CHECK(a.style == b.style && a.id == b.id && a.x == b.x && a.cy == b.cy &&
                   a.extraBytes == b.extraBytes);
        FUZZ_CHECK(SameKey(a.windowClass, b.windowClass) && SameKey(a.title, b.title));
        FUZZ_CHECK(a.extraBytes < size);
        FUZZ_CHECK(a.title.isOrdinal || !a.title.text.contains(QChar(0)));
    }
}

// How deep the pop-ups nest, and how many items there are.
void Measure(const std::vector<MenuItem>& items, int depth, int* deepest, std::size_t* count) {
    *deepest = std::max(*deepest, depth);
    for (const MenuItem& item : items) {
        ++*count;
        FUZZ_CHECK(item.kind == MenuItem::Kind::Popup || item.children.empty());
        FUZZ_CHECK(!item.text.contains(QChar(0)));
        Measure(item.children, depth + 1, deepest, count);
    }
}

void CheckMenu(const unsigned char* data, std::size_t size) {
    std::vector<MenuItem> first;
    std::vector<MenuItem> second;
    const bool read = ParseMenu(data, size, &first);
    FUZZ_CHECK(ParseMenu(data, size, &second) == read);
    if (!read) return;
    FUZZ_CHECK(Word(data, 0) == 0);
    int deepest = 0;
    std::size_t count = 0;
    Measure(first, 0, &deepest, &count);
    FUZZ_CHECK(deepest <= 9);
    // Each item takes a flags word and a text's terminator at least.
    FUZZ_CHECK(4 + 4 * count <= size);
    int deepestAgain = 0;
    std::size_t countAgain = 0;
    Measure(second, 0, &deepestAgain, &countAgain);
    FUZZ_CHECK(deepest == deepestAgain && count == countAgain);
}

void CheckMenuBarData(const unsigned char* data, std::size_t size) {
    WORD menuId = 0;
    std::vector<MenuBarButton> buttons;
    const bool read = ParseMenuBarData(data, size, &menuId, &buttons);
    if (!read) return;
    FUZZ_CHECK(size >= 4 && menuId == Word(data, 0));
    FUZZ_CHECK(buttons.size() == Word(data, 2));
    FUZZ_CHECK(4 + 14 * buttons.size() <= size);
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const std::size_t at = 4 + 14 * i;
        FUZZ_CHECK(buttons[i].command == Word(data, at + 2) && buttons[i].caption == Word(data, at + 8) &&
                   buttons[i].popup == Word(data, at + 12));
    }
}

void CheckStringBlock(const unsigned char* data, std::size_t size) {
    // The sixteen strings lie one after the other: together, with their
    // length words, they fit the block.
    std::size_t used = 0;
    for (UINT index = 0; index < 16; ++index) {
        const QString text = StringInBlock(data, size, index);
        FUZZ_CHECK(text == StringInBlock(data, size, index));
        used += 2 + 2 * static_cast<std::size_t>(text.size());
        if (!text.isNull()) FUZZ_CHECK(used <= size);
    }
    FUZZ_CHECK(StringInBlock(data, size, 16).isNull());
}

void CheckAccelerators(const unsigned char* data, std::size_t size) {
    const std::vector<ACCEL> entries = ParseAcceleratorTable(data, size);
    // Whole entries of eight bytes, up to the one marked last.
    std::size_t expected = 0;
    while (8 * (expected + 1) <= size) {
        ++expected;
        if (data[8 * (expected - 1)] & 0x80) break;
    }
    FUZZ_CHECK(entries.size() == expected);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        FUZZ_CHECK((entries[i].fVirt & 0x80) == 0);
        FUZZ_CHECK(entries[i].fVirt == (data[8 * i] & 0x7F));
        FUZZ_CHECK(entries[i].key == Word(data, 8 * i + 2) && entries[i].cmd == Word(data, 8 * i + 4));
    }
}

void CheckPicture(const QImage& first, const QImage& second, std::size_t size) {
    FUZZ_CHECK(first == second);
    if (first.isNull()) return;
    FUZZ_CHECK(first.width() > 0 && first.height() > 0);
    // At most eight pixels a byte of data (one bit a pixel).
    FUZZ_CHECK(static_cast<std::size_t>(first.width()) * static_cast<std::size_t>(first.height()) <=
               8 * size);
}

}  // namespace

void CheckReader(Reader reader, const unsigned char* data, std::size_t size) {
    switch (reader) {
    case Reader::DialogTemplate:
        CheckDialogTemplate(data, size);
        break;
    case Reader::Menu:
        CheckMenu(data, size);
        break;
    case Reader::MenuBarData:
        CheckMenuBarData(data, size);
        break;
    case Reader::StringBlock:
        CheckStringBlock(data, size);
        break;
    case Reader::Accelerators:
        CheckAccelerators(data, size);
        break;
    case Reader::Bitmap:
        CheckPicture(DecodeDib(data, size), DecodeDib(data, size), size);
        break;
    case Reader::IconImage:
        CheckPicture(DecodeIconImage(data, size), DecodeIconImage(data, size), size);
        break;
    case Reader::kCount:
        break;
    }
}

}  // namespace mirabo::fuzz
