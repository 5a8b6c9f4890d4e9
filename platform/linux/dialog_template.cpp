#include "platform/linux/dialog_template.h"

#include <algorithm>

#include "resfile/byte_reader.h"

namespace mirabo::platform {

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
    ByteReader reader(static_cast<const unsigned char*>(data), size);
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
    result.menu = ReadKey(reader, true);
    result.windowClass = ReadKey(reader, true);
    result.title = QString::fromStdU16String(reader.Text());
    if (result.style & DS_SETFONT) {
        result.hasFont = true;
        result.pointSize = reader.Word();
        result.faceName = QString::fromStdU16String(reader.Text());
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
        item.windowClass = ReadKey(reader, true);
        item.title = ReadKey(reader, false);
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
