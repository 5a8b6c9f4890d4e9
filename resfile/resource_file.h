// The entries of a compiled resource file (.res), as stored: each one's type
// and name (an ordinal or a text), language and data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "resfile/byte_reader.h"

namespace mirabo {

// Resource types by their ordinals.
constexpr std::uint16_t kResourceTypeString = 6;

// A resource type or name as stored: a 16-bit ordinal or a text.
struct ResourceName {
    bool isOrdinal = true;
    std::uint16_t ordinal = 0;
    std::u16string text;

    bool IsOrdinal(std::uint16_t wanted) const { return isOrdinal && ordinal == wanted; }
};

// Reads an ordinal-or-name field (sz_Or_Ord): 0xFFFF and an ordinal, or a
// zero-terminated text. With `zeroIsNone` a lone 0x0000 is the ordinal 0 (no
// menu, the standard class); without it, the empty text.
ResourceName ReadResourceName(ByteReader& reader, bool zeroIsNone);

struct ResourceFileEntry {
    ResourceName type;
    ResourceName name;
    std::uint16_t language = 0;
    const unsigned char* data = nullptr;
    std::size_t size = 0;
};

// Reads the entries of a .res image, without the empty entry that starts it.
// Stops at the first entry that does not fit the image; returns false when
// that happened before the end.
bool ReadResourceFile(const unsigned char* image, std::size_t size, std::vector<ResourceFileEntry>* entries);

// Looks through a .res image for the entry of that type and name, both
// ordinals, in the language that serves `language` best (LanguageRank,
// resfile/resource_language.h), without keeping the others; false when there
// is none.
bool FindOrdinalResource(const unsigned char* image, std::size_t size, std::uint16_t type, std::uint16_t name,
                         std::uint16_t language, ResourceFileEntry* found);

}  // namespace mirabo
