#include "platform/linux/byte_reader.h"

#include <string>

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

bool ByteReader::Need(std::size_t bytes) {
    if (!ok_ || bytes > size_ - offset_) {
        ok_ = false;
        return false;
    }
    return true;
}

BYTE ByteReader::Byte() {
    if (!Need(1)) return 0;
    return data_[offset_++];
}

WORD ByteReader::Word() {
    if (!Need(2)) return 0;
    WORD value = static_cast<WORD>(data_[offset_] | (data_[offset_ + 1] << 8));
    offset_ += 2;
    return value;
}

DWORD ByteReader::Dword() {
    if (!Need(4)) return 0;
    DWORD low = Word();
    DWORD high = Word();
    return low | (high << 16);
}

QString ByteReader::Text() {
    std::u16string text;
    for (;;) {
        WORD unit = Word();
        if (!ok_ || unit == 0) break;
        text.push_back(static_cast<char16_t>(unit));
    }
    return QString::fromStdU16String(text);
}

QString ByteReader::Units(std::size_t count) {
    if (!ok_ || count > (size_ - offset_) / 2) {
        ok_ = false;
        return QString();
    }
    std::u16string text(count, u'\0');
    for (char16_t& unit : text) unit = Word();
    return ok_ ? QString::fromStdU16String(text) : QString();
}

ResourceKey ByteReader::Key(bool zeroIsNone) {
    ResourceKey key;
    WORD first = Word();
    if (!ok_) return key;
    if (first == 0xFFFF) {
        key.ordinal = Word();
    } else if (first == 0 && zeroIsNone) {
        key.ordinal = 0;
    } else {
        offset_ -= 2;  // the word read is the text's first unit
        key.isOrdinal = false;
        key.text = Text();
    }
    return key;
}

void ByteReader::Skip(std::size_t bytes) {
    if (Need(bytes)) offset_ += bytes;
}

void ByteReader::Seek(std::size_t offset) {
    if (!ok_ || offset > size_) {
        ok_ = false;
        return;
    }
    offset_ = offset;
}

void ByteReader::AlignDword() { Seek((offset_ + 3) & ~static_cast<std::size_t>(3)); }

}  // namespace mirabo::platform
