// The one reader of the little-endian data in the program's resources (the
// resource directory, dialog templates, menus and menu-bar data, string and
// accelerator tables, icon groups and bitmaps): integers, UTF-16 texts and
// the ordinal-or-name keys that name resources, read inside a byte range
// whose end is never passed.
#pragma once

#include <QString>

#include <cstddef>

#include "platform/linux/win32_api.h"

namespace mirabo::platform {

// A resource type or name as stored: a 16-bit ordinal or a text.
struct ResourceKey {
    bool isOrdinal = true;
    WORD ordinal = 0;
    QString text;

    // Whether a type or name as a program passes it (MAKEINTRESOURCEW, a
    // "#123" text or a name, compared without regard to case) is this one.
    bool Matches(LPCWSTR wanted) const;
};

// Reads little-endian values from a byte range, front to back. A read that
// would go past the end reads 0 (or an empty text) and fails the reader; a
// failed reader reads nothing more, so a record can be read through and
// checked once with ok().
class ByteReader {
public:
    ByteReader(const unsigned char* data, std::size_t size) : data_(data), size_(data ? size : 0) {}

    bool ok() const { return ok_; }
    // Bytes read so far, from the start of the range.
    std::size_t offset() const { return offset_; }
    // Bytes left to read; none once the reader has failed.
    std::size_t remaining() const { return ok_ ? size_ - offset_ : 0; }
    // The bytes from the reader's place on (remaining() of them), for data
    // that is not read as values, such as a bitmap's pixel rows.
    const unsigned char* here() const { return data_ + offset_; }

    BYTE Byte();
    WORD Word();
    DWORD Dword();
    short Short() { return static_cast<short>(Word()); }
    LONG Long() { return static_cast<LONG>(Dword()); }

    // A zero-terminated UTF-16 text; the reader fails when no terminator
    // comes before the end.
    QString Text();
    // `count` UTF-16 units.
    QString Units(std::size_t count);
    // An ordinal-or-name field (sz_Or_Ord): 0xFFFF and an ordinal, or a
    // zero-terminated text. With `zeroIsNone` a lone 0x0000 is the ordinal 0
    // (no menu, the standard class); without it, the empty text.
    ResourceKey Key(bool zeroIsNone);

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

}  // namespace mirabo::platform
