#include "platform/linux/resource_loading.h"

#include <QPixmap>

#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "platform/linux/dib.h"
#include "platform/linux/resources.h"

namespace mirabo::platform {

namespace {

WORD ReadWord(const unsigned char* p) { return static_cast<WORD>(p[0] | (p[1] << 8)); }
DWORD ReadDword(const unsigned char* p) {
    return static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 8) | (static_cast<DWORD>(p[2]) << 16) |
           (static_cast<DWORD>(p[3]) << 24);
}

struct AcceleratorTableObject {
    std::vector<ACCEL> entries;
};

struct IconObject {
    const ResourceEntry* group = nullptr;
};

// Handles stay valid for the life of the process, one per resource.
std::map<const ResourceEntry*, std::unique_ptr<AcceleratorTableObject>>& Accelerators() {
    static std::map<const ResourceEntry*, std::unique_ptr<AcceleratorTableObject>> tables;
    return tables;
}

std::map<const ResourceEntry*, std::unique_ptr<IconObject>>& Icons() {
    static std::map<const ResourceEntry*, std::unique_ptr<IconObject>> icons;
    return icons;
}

const IconObject* IconOf(HICON handle) {
    for (const auto& [entry, icon] : Icons()) {
        if (reinterpret_cast<HICON>(icon.get()) == handle) return icon.get();
    }
    return nullptr;
}

HICON IconFor(const ResourceEntry* group) {
    if (group == nullptr) return nullptr;
    auto& icon = Icons()[group];
    if (!icon) {
        icon = std::make_unique<IconObject>();
        icon->group = group;
    }
    return reinterpret_cast<HICON>(icon.get());
}

// One image of an icon group: GRPICONDIRENTRY (14 bytes after the 6-byte header).
struct GroupImage {
    int width;
    int height;
    int bitCount;
    WORD id;
};

std::vector<GroupImage> GroupImages(const ResourceEntry* group) {
    std::vector<GroupImage> images;
    if (group->size < 6) return images;
    WORD count = ReadWord(group->data + 4);
    for (WORD i = 0; i < count; ++i) {
        std::size_t at = 6 + 14 * static_cast<std::size_t>(i);
        if (at + 14 > group->size) break;
        const unsigned char* p = group->data + at;
        images.push_back({p[0] == 0 ? 256 : p[0], p[1] == 0 ? 256 : p[1], ReadWord(p + 6), ReadWord(p + 12)});
    }
    return images;
}

}  // namespace

QString ProgramString(UINT id) {
    // Strings are stored sixteen to a block: block id / 16 + 1 holds string
    // id % 16, each a length word and that many UTF-16 units.
    const ResourceEntry* block = FindProgramResource(RT_STRING, MAKEINTRESOURCEW((id >> 4) + 1));
    if (block == nullptr) return QString();
    std::size_t offset = 0;
    for (UINT index = 0; index < 16; ++index) {
        if (offset + 2 > block->size) return QString();
        WORD length = ReadWord(block->data + offset);
        offset += 2;
        if (offset + 2 * static_cast<std::size_t>(length) > block->size) return QString();
        if (index == (id & 15)) {
            if (length == 0) return QString();
            std::u16string text(length, u'\0');
            for (WORD i = 0; i < length; ++i) text[i] = ReadWord(block->data + offset + 2 * i);
            return QString::fromStdU16String(text);
        }
        offset += 2 * static_cast<std::size_t>(length);
    }
    return QString();
}

const std::vector<ACCEL>* AcceleratorTable(HACCEL table) {
    if (table == nullptr) return nullptr;
    for (const auto& [entry, object] : Accelerators()) {
        if (reinterpret_cast<HACCEL>(object.get()) == table) return &object->entries;
    }
    return nullptr;
}

QImage DecodeIconImage(const unsigned char* data, std::size_t size) {
    if (data == nullptr || size < 40) return QImage();
    DWORD headerSize = ReadDword(data);
    if (headerSize < 40 || headerSize > size) return QImage();
    std::int32_t width = static_cast<std::int32_t>(ReadDword(data + 4));
    std::int32_t doubled = static_cast<std::int32_t>(ReadDword(data + 8));
    if (width <= 0 || width > 256 || doubled <= 0 || doubled > 512 || doubled % 2 != 0) return QImage();
    std::int32_t height = doubled / 2;
    // The colour part is an ordinary bitmap of half the stored height.
    std::vector<unsigned char> copy(data, data + size);
    std::int32_t half = height;
    std::memcpy(copy.data() + 8, &half, 4);
    QImage colours = DecodeDib(copy.data(), copy.size());
    if (colours.isNull()) return QImage();
    int bitCount = ReadWord(data + 14);
    DWORD colorsUsed = ReadDword(data + 32);
    std::size_t paletteBytes = bitCount <= 8 ? 4u * (colorsUsed ? colorsUsed : (1u << bitCount)) : 0;
    std::size_t colourStride = ((static_cast<std::size_t>(width) * bitCount + 31) / 32) * 4;
    std::size_t maskOffset = headerSize + paletteBytes + colourStride * static_cast<std::size_t>(height);
    std::size_t maskStride = ((static_cast<std::size_t>(width) + 31) / 32) * 4;
    QImage image = colours.convertToFormat(QImage::Format_ARGB32);
    if (maskOffset + maskStride * static_cast<std::size_t>(height) > size) return image;  // no mask: opaque
    for (int row = 0; row < height; ++row) {
        const unsigned char* mask = data + maskOffset + maskStride * static_cast<std::size_t>(row);
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(height - 1 - row));
        for (int x = 0; x < width; ++x) {
            if (mask[x / 8] & (0x80 >> (x % 8))) line[x] = qRgba(0, 0, 0, 0);
        }
    }
    return image;
}

QImage IconImage(HICON icon, int size) {
    const IconObject* object = IconOf(icon);
    if (object == nullptr) return QImage();
    const GroupImage* best = nullptr;
    std::vector<GroupImage> images = GroupImages(object->group);
    for (const GroupImage& image : images) {
        if (best == nullptr || std::abs(image.width - size) < std::abs(best->width - size) ||
            (image.width == best->width && image.bitCount > best->bitCount)) {
            best = &image;
        }
    }
    if (best == nullptr) return QImage();
    const ResourceEntry* entry = FindProgramResource(RT_ICON, MAKEINTRESOURCEW(best->id));
    return entry ? DecodeIconImage(entry->data, entry->size) : QImage();
}

QIcon DesktopIcon(HICON icon) {
    QIcon result;
    const IconObject* object = IconOf(icon);
    if (object == nullptr) return result;
    for (const GroupImage& image : GroupImages(object->group)) {
        QImage picture = IconImage(icon, image.width);
        if (!picture.isNull()) result.addPixmap(QPixmap::fromImage(picture));
    }
    return result;
}

HICON ProgramIcon(WORD id) { return IconFor(FindProgramResource(RT_GROUP_ICON, MAKEINTRESOURCEW(id))); }

}  // namespace mirabo::platform

// ---------------------------------------------------------------------------
// The platform's string, icon and accelerator loading. There is one module,
// the program, so the instance is not looked at.

using namespace mirabo::platform;

int WINAPI LoadStringW(HINSTANCE, UINT uID, LPWSTR lpBuffer, int cchBufferMax) {
    // With no room, the platform would hand out a pointer to the stored
    // UTF-16 text, which a wide text here cannot point to.
    if (lpBuffer == nullptr || cchBufferMax <= 0) return 0;
    QList<uint> text = ProgramString(uID).toUcs4();
    int length = static_cast<int>(std::min<qsizetype>(text.size(), cchBufferMax - 1));
    for (int i = 0; i < length; ++i) lpBuffer[i] = static_cast<WCHAR>(text[i]);
    lpBuffer[length] = 0;
    return length;
}

HICON WINAPI LoadIconW(HINSTANCE, LPCWSTR lpIconName) {
    return IconFor(FindProgramResource(RT_GROUP_ICON, lpIconName));
}

HACCEL WINAPI LoadAcceleratorsW(HINSTANCE, LPCWSTR lpTableName) {
    const ResourceEntry* entry = FindProgramResource(RT_ACCELERATOR, lpTableName);
    if (entry == nullptr) return nullptr;
    auto& table = Accelerators()[entry];
    if (!table) {
        // Eight bytes an entry: flags, key, command, padding; the last entry
        // has the flag 0x80.
        table = std::make_unique<AcceleratorTableObject>();
        for (std::size_t at = 0; at + 8 <= entry->size; at += 8) {
            WORD flags = ReadWord(entry->data + at);
            table->entries.push_back({static_cast<BYTE>(flags & 0x7F), ReadWord(entry->data + at + 2),
                                      ReadWord(entry->data + at + 4)});
            if (flags & 0x80) break;
        }
    }
    return reinterpret_cast<HACCEL>(table.get());
}
