#include "resfile/byte_reader.h"

namespace mirabo {

bool ByteReader::Need(std::size_t bytes) {
    if (!ok_ || bytes > size_ - offset_) {
        ok_ = false;
        return false;
    }
    return true;
}

std::uint8_t ByteReader::Byte() {
    if (!Need(1)) return 0;
    return data_[offset_++];
}

std::uint16_t ByteReader::Word() {
    if (!Need(2)) return 0;
    const auto value = static_cast<std::uint16_t>(data_[offset_] | (data_[offset_ + 1] << 8));
    offset_ += 2;
    return value;
}

std::uint32_t ByteReader::Dword() {
    if (!Need(4)) return 0;
    const std::uint32_t low = Word();
    const std::uint32_t high = Word();
    return low | (high << 16);
}

std::u16string ByteReader::Text() {
    std::u16string text;
    for (;;) {
        const std::uint16_t unit = Word();
        if (!ok_) return std::u16string();
        if (unit == 0) return text;
        text.push_back(static_cast<char16_t>(unit));
    }
}

std::u16string ByteReader::Units(std::size_t count) {
    if (!ok_ || count > (size_ - offset_) / 2) {
        ok_ = false;
        return std::u16string();
    }
    std::u16string text(count, u'\0');
    for (char16_t& unit : text) unit = Word();
    return text;
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

}  // namespace mirabo
