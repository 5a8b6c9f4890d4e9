// The one reader of the little-endian data in compiled resources (the
// resource file, dialog templates, menus and menu-bar data, string and
// accelerator tables, icon groups and bitmaps), for every front end:
// integers and UTF-16 texts, read inside a byte range whose end is never passed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace mirabo {

// Reads little-endian values from a byte range, front to back. A read that
// would go past the end reads 0 (or an empty text) and fails the reader; a
// failed reader reads nothing more, so a record can be read through and
// checked once with ok().
class ByteReader {
public:
    ByteReader(const void* data, std::size_t size)
        : data_(static_cast<const unsigned char*>(data)), size_(data ? size : 0) {}

    bool ok() const { return ok_; }
    // Bytes read so far, from the start of the range.
    std::size_t offset() const { return offset_; }
    // Bytes left to read; none once the reader has failed.
    std::size_t remaining() const { return ok_ ? size_ - offset_ : 0; }
    // The bytes from the reader's place on (remaining() of them), for data
    // that is not read as values, such as a bitmap's pixel rows.
    const unsigned char* here() const { return data_ + offset_; }

    std::uint8_t Byte();
    std::uint16_t Word();
    std::uint32_t Dword();
    std::int16_t Short() { return static_cast<std::int16_t>(Word()); }
    std::int32_t Long() { return static_cast<std::int32_t>(Dword()); }

    // A zero-terminated UTF-16 text, without its terminator; the reader
    // fails when no terminator comes before the end.
    std::u16string Text();
    // `count` UTF-16 units.
    std::u16string Units(std::size_t count);

    void Skip(std::size_t bytes);
    // Moves to a place counted from the start of the range.
    void Seek(std::size_t offset);
    // Moves on to the next multiple of four bytes from the start of the range.
    void AlignDword();

private:
    bool Need(std::size_t bytes);

    const unsigned char* data_;
    std::size_t size_;
    std::size_t offset_ = 0;
    bool ok_ = true;
};

}  // namespace mirabo
