#include "platform/linux/icons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <map>
#include <memory>
#include <vector>

#include "platform/linux/dib.h"
#include "platform/linux/png_picture.h"
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

namespace {

// The pictures of the desktop icon by size: the program's smooth picture
// where it has one of that size, else null for the group's own image.
using IconSources = std::map<int, const DesktopIconPicture*>;

IconSources DesktopIconSources(HICON icon) {
    IconSources sources;
    const IconObject* object = IconOf(icon);
    if (object == nullptr) return sources;
    const ResourceKey& name = object->group->name;
    if (name.isOrdinal && name.ordinal == kDesktopIconGroup) {
        for (unsigned long i = 0; i < kDesktopIconPictureCount; ++i) {
            sources.emplace(kDesktopIconPictures[i].size, &kDesktopIconPictures[i]);
        }
    }
    for (const GroupImage& image : GroupImages(object->group)) sources.emplace(image.width, nullptr);
    return sources;
}

// The picture of exactly that size, decoded each time it is asked for (the
// window system asks once per size and keeps what it got); null when it
// cannot be.
QImage PictureOfSize(HICON icon, const IconSources& sources, int size) {
    QImage picture;
    const auto source = sources.find(size);
    if (source != sources.end() && source->second != nullptr) {
        const DesktopIconPicture& p = *source->second;
        picture = DecodePngPicture(p.png, p.length);
        if (picture.width() != size) picture = QImage();
    }
    if (picture.isNull()) picture = IconImage(icon, size);
    if (picture.width() != size) picture = QImage();
    return picture;
}

}  // namespace

std::vector<int> DesktopIconSizes(HICON icon) {
    std::vector<int> sizes;
    for (const auto& [size, source] : DesktopIconSources(icon)) sizes.push_back(size);
    return sizes;
}

QImage DesktopIconImage(HICON icon, int size) { return PictureOfSize(icon, DesktopIconSources(icon), size); }

namespace {

// The desktop window's icon: the program's smooth pictures of the group where
// it has them, the group's own images at the sizes they leave out, each
// decoded only when something asks for it.
class DesktopIconEngine : public QIconEngine {
public:
    DesktopIconEngine(HICON icon, int largestOffered)
        : icon_(icon), largestOffered_(largestOffered), sources_(DesktopIconSources(icon)) {}

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (const auto& [size, source] : sources_) {
            if (size <= largestOffered_) sizes << QSize(size, size);
        }
        return sizes;
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
        // The nearest picture at or above the size asked for, else the largest.
        const int wanted = std::max(size.width(), size.height());
        auto it = sources_.lower_bound(wanted);
        if (it == sources_.end()) {
            if (sources_.empty()) return QPixmap();
            --it;
        }
        QImage picture = Picture(it->first);
        if (!picture.isNull() && picture.size() != size) {
            picture = picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        }
        return QPixmap::fromImage(std::move(picture));
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QIconEngine* clone() const override { return new DesktopIconEngine(*this); }
    QString key() const override { return QStringLiteral("mirabo.desktop"); }

private:
    QImage Picture(int size) const { return PictureOfSize(icon_, sources_, size); }

    HICON icon_;
    int largestOffered_;
    IconSources sources_;
};

}  // namespace

QIcon DesktopIcon(HICON icon, int largestOffered) {
    if (IconOf(icon) == nullptr) return QIcon();
    return QIcon(new DesktopIconEngine(icon, largestOffered));
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
