#include "platform/linux/icons.h"

#include <QPixmap>

#include <cstdlib>
#include <map>
#include <memory>
#include <vector>

#include "platform/linux/dib.h"
#include "platform/linux/resource_directory.h"
#include "res/desktop_icon.h"
#include "resfile/byte_reader.h"

namespace mirabo::platform {

namespace {

struct IconObject {
    const ResourceEntry* group = nullptr;
};

// Handles stay valid for the life of the process, one per resource.
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

// One image of an icon group.
struct GroupImage {
    int width;
    int height;
    int bitCount;
    WORD id;
};

std::vector<GroupImage> GroupImages(const ResourceEntry* group) {
    std::vector<GroupImage> images;
    ByteReader reader(group->data, group->size);
    // The header: reserved, type, count; then GRPICONDIRENTRY records.
    reader.Word();
    reader.Word();
    WORD count = reader.Word();
    for (WORD i = 0; i < count && reader.ok(); ++i) {
        int width = reader.Byte();
        int height = reader.Byte();
        reader.Byte();  // colour count
        reader.Byte();  // reserved
        reader.Word();  // planes
        int bitCount = reader.Word();
        reader.Dword();  // bytes in the image resource
        WORD id = reader.Word();
        if (!reader.ok()) break;
        images.push_back({width == 0 ? 256 : width, height == 0 ? 256 : height, bitCount, id});
    }
    return images;
}

}  // namespace

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
    // The smooth pictures where the program has them for this group, the
    // group's own images at the sizes they leave out.
    std::map<int, QImage> pictures;
    const ResourceKey& name = object->group->name;
    if (name.isOrdinal && name.ordinal == kDesktopIconGroup) {
        for (unsigned long i = 0; i < kDesktopIconPictureCount; ++i) {
            const DesktopIconPicture& p = kDesktopIconPictures[i];
            QImage picture = QImage::fromData(p.png, static_cast<int>(p.length), "PNG");
            if (!picture.isNull() && picture.width() == p.size) pictures.emplace(p.size, picture);
        }
    }
    for (const GroupImage& image : GroupImages(object->group)) {
        if (pictures.count(image.width) != 0) continue;
        QImage picture = IconImage(icon, image.width);
        if (!picture.isNull()) pictures.emplace(image.width, picture);
    }
    for (const auto& [size, picture] : pictures) result.addPixmap(QPixmap::fromImage(picture));
    return result;
}

HICON ProgramIcon(WORD id) { return IconFor(FindProgramResource(RT_GROUP_ICON, MAKEINTRESOURCEW(id))); }

}  // namespace mirabo::platform

// ---------------------------------------------------------------------------
// The platform's icon loading. There is one module, the program, so the
// instance is not looked at.

HICON WINAPI LoadIconW(HINSTANCE, LPCWSTR lpIconName) {
    using namespace mirabo::platform;
    return IconFor(FindProgramResource(RT_GROUP_ICON, lpIconName));
}
