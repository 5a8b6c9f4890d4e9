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

ResourceKey KeyOf(const ResourceName& name) {
    return {name.isOrdinal, name.ordinal, name.isOrdinal ? QString() : QString::fromStdU16String(name.text)};
}

ResourceKey ReadKey(ByteReader& reader, bool zeroIsNone) {
    return KeyOf(ReadResourceName(reader, zeroIsNone));
}

}  // namespace mirabo::platform
