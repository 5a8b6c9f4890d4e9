#include "platform/linux/resource_key.h"

namespace mirabo::platform {

bool ResourceKey::Matches(LPCWSTR wanted) const {
    if (wanted == nullptr) return false;
    if (IS_INTRESOURCE(wanted)) {
        return isOrdinal && ordinal == static_cast<WORD>(reinterpret_cast<ULONG_PTR>(wanted));
    }
    if (wanted[0] == L'#') {
        // "#105" names the ordinal 105.
        unsigned long value = 0;
        const WCHAR* p = wanted + 1;
        if (*p == 0) return false;
        for (; *p; ++p) {
            if (*p < L'0' || *p > L'9') return false;
            value = value * 10 + static_cast<unsigned long>(*p - L'0');
            if (value > 0xFFFF) return false;
        }
        return isOrdinal && ordinal == value;
    }
    if (isOrdinal) return false;
    return text.compare(QString::fromWCharArray(wanted), Qt::CaseInsensitive) == 0;
}

ResourceKey ReadKey(ByteReader& reader, bool zeroIsNone) {
    ResourceKey key;
    const WORD first = reader.Word();
    if (!reader.ok()) return key;
    if (first == 0xFFFF) {
        key.ordinal = reader.Word();
    } else if (first == 0 && zeroIsNone) {
        key.ordinal = 0;
    } else {
        reader.Seek(reader.offset() - 2);  // the word read is the text's first unit
        key.isOrdinal = false;
        key.text = QString::fromStdU16String(reader.Text());
    }
    return key;
}

}  // namespace mirabo::platform
