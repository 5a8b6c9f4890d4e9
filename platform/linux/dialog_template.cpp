#include "platform/linux/dialog_template.h"

#include <algorithm>
#include <string>

namespace mirabo::platform {

namespace {

// Reads little-endian values from a byte range, remembering whether a read
// went past its end.
class Reader {
public:
    Reader(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}

    bool ok() const { return ok_; }
    std::size_t offset() const { return offset_; }

    WORD Word() {
        if (!Need(2)) return 0;
        WORD value = static_cast<WORD>(data_[offset_] | (data_[offset_ + 1] << 8));
        offset_ += 2;
        return value;
    }
    DWORD Dword() {
        DWORD low = Word();
        DWORD high = Word();
        return low | (high << 16);
    }
    short Short() { return static_cast<short>(Word()); }

    // A zero-terminated UTF-16 text.
    QString Text() {
        std::u16string text;
        for (;;) {
            WORD unit = Word();
            if (!ok_ || unit == 0) break;
            text.push_back(static_cast<char16_t>(unit));
        }
        return QString::fromStdU16String(text);
    }

    // sz_Or_Ord: 0xFFFF and an ordinal, or a text. For a menu or a class a
    // lone 0x0000 means none (ordinal 0); for a title it is the empty text.
    ResourceKey Key(bool zeroIsNone) {
        ResourceKey key;
        WORD first = Word();
        if (first == 0xFFFF) {
            key.isOrdinal = true;
            key.ordinal = Word();
        } else if (first == 0 && zeroIsNone) {
            key.isOrdinal = true;
            key.ordinal = 0;
        } else {
            offset_ -= 2;
            key.isOrdinal = false;
            key.text = Text();
        }
        return key;
    }

    void Skip(std::size_t bytes) {
        if (Need(bytes)) offset_ += bytes;
    }
    // Items start on a DWORD boundary, counted from the template's start.
    void AlignDword() {
        std::size_t aligned = (offset_ + 3) & ~static_cast<std::size_t>(3);
        if (aligned > size_) {
            ok_ = false;
            return;
        }
        offset_ = aligned;
    }

private:
    bool Need(std::size_t bytes) {
        if (!ok_ || bytes > size_ - offset_) {
            ok_ = false;
            return false;
        }
        return true;
    }

    const unsigned char* data_;
    std::size_t size_;
    std::size_t offset_ = 0;
    bool ok_ = true;
};

}  // namespace

ControlClass DialogItemTemplate::Class() const {
    if (windowClass.isOrdinal) {
        switch (windowClass.ordinal) {
        case 0x0080:
            return ControlClass::Button;
        case 0x0081:
            return ControlClass::Edit;
        case 0x0082:
            return ControlClass::Static;
        default:
            return ControlClass::Other;
        }
    }
    if (windowClass.text.compare(QLatin1String("Button"), Qt::CaseInsensitive) == 0)
        return ControlClass::Button;
    if (windowClass.text.compare(QLatin1String("Edit"), Qt::CaseInsensitive) == 0) return ControlClass::Edit;
    if (windowClass.text.compare(QLatin1String("Static"), Qt::CaseInsensitive) == 0)
        return ControlClass::Static;
    return ControlClass::Other;
}

bool ParseDialogTemplate(const void* data, std::size_t size, DialogTemplate* out) {
    if (data == nullptr || out == nullptr) return false;
    Reader reader(static_cast<const unsigned char*>(data), size);
    DialogTemplate result;

    result.style = reader.Dword();
    // The extended form starts with the version 1 and the signature 0xFFFF.
    if (reader.ok() && (result.style & 0xFFFF) == 1 && (result.style >> 16) == 0xFFFF) return false;
    result.exStyle = reader.Dword();
    WORD count = reader.Word();
    result.x = reader.Short();
    result.y = reader.Short();
    result.cx = reader.Short();
    result.cy = reader.Short();
    result.menu = reader.Key(true);
    result.windowClass = reader.Key(true);
    result.title = reader.Text();
    if (result.style & DS_SETFONT) {
        result.hasFont = true;
        result.pointSize = reader.Word();
        result.faceName = reader.Text();
    }
    if (!reader.ok()) return false;

    result.items.reserve(std::min<std::size_t>(count, size / 18));
    for (WORD i = 0; i < count; ++i) {
        reader.AlignDword();
        DialogItemTemplate item;
        item.style = reader.Dword();
        item.exStyle = reader.Dword();
        item.x = reader.Short();
        item.y = reader.Short();
        item.cx = reader.Short();
        item.cy = reader.Short();
        item.id = reader.Word();
        item.windowClass = reader.Key(true);
        item.title = reader.Key(false);
        // Creation data: a byte count, then that many bytes.
        item.extraBytes = reader.Word();
        reader.Skip(item.extraBytes);
        if (!reader.ok()) return false;
        result.items.push_back(std::move(item));
    }
    *out = std::move(result);
    return true;
}

}  // namespace mirabo::platform
