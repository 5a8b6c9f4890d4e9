#include "resfile/resource_file.h"

#include "resfile/resource_language.h"

namespace mirabo {

namespace {

std::size_t AlignDword(std::size_t n) { return (n + 3) & ~static_cast<std::size_t>(3); }

}  // namespace

ResourceName ReadResourceName(ByteReader& reader, bool zeroIsNone) {
    ResourceName name;
    const std::uint16_t first = reader.Word();
    if (!reader.ok()) return name;
    if (first == 0xFFFF) {
        name.ordinal = reader.Word();
    } else if (first == 0 && zeroIsNone) {
        name.ordinal = 0;
    } else {
        reader.Seek(reader.offset() - 2);  // the word read is the text's first unit
        name.isOrdinal = false;
        name.text = reader.Text();
    }
    return name;
}

namespace {

enum class Step { Entry, End, Broken };

// Reads the entry at `offset` and moves `offset` past it.
Step ReadEntry(const unsigned char* image, std::size_t size, std::size_t& offset, ResourceFileEntry& entry) {
    if (offset >= size) return Step::End;
    // RESOURCEHEADER: DataSize, HeaderSize, TYPE, NAME, padding to a
    // DWORD, DataVersion, MemoryFlags, LanguageId, Version, Characteristics.
    ByteReader header(image + offset, size - offset);
    const std::uint32_t dataSize = header.Dword();
    const std::uint32_t headerSize = header.Dword();
    if (!header.ok()) return Step::Broken;
    if (headerSize < 16 || headerSize > size - offset) return Step::Broken;
    if (dataSize > size - offset - headerSize) return Step::Broken;
    ByteReader fields(image + offset, headerSize);
    fields.Skip(8);
    entry.type = ReadResourceName(fields, false);
    entry.name = ReadResourceName(fields, false);
    if (!fields.ok()) return Step::Broken;
    fields.AlignDword();
    entry.language = 0;
    if (fields.remaining() >= 16) {
        fields.Skip(6);
        entry.language = fields.Word();
    }
    entry.data = image + offset + headerSize;
    entry.size = dataSize;
    offset = AlignDword(offset + headerSize + dataSize);
    return Step::Entry;
}

// The file starts with an empty entry (type and name 0) that marks it as a
// 32-bit resource file; it is no resource.
bool IsMarker(const ResourceFileEntry& entry) {
    return entry.type.IsOrdinal(0) && entry.name.IsOrdinal(0) && entry.size == 0;
}

}  // namespace

bool ReadResourceFile(const unsigned char* image, std::size_t size, std::vector<ResourceFileEntry>* entries) {
    entries->clear();
    if (image == nullptr) return size == 0;
    std::size_t offset = 0;
    ResourceFileEntry entry;
    for (;;) {
        switch (ReadEntry(image, size, offset, entry)) {
        case Step::End:
            return true;
        case Step::Broken:
            return false;
        case Step::Entry:
            if (!IsMarker(entry)) entries->push_back(entry);
            break;
        }
    }
}

bool FindOrdinalResource(const unsigned char* image, std::size_t size, std::uint16_t type, std::uint16_t name,
                         std::uint16_t language, ResourceFileEntry* found) {
    if (image == nullptr) return false;
    std::size_t offset = 0;
    int bestRank = 4;
    ResourceFileEntry entry;
    while (bestRank > 0 && ReadEntry(image, size, offset, entry) == Step::Entry) {
        if (!entry.type.IsOrdinal(type) || !entry.name.IsOrdinal(name)) continue;
        const int rank = LanguageRank(entry.language, language);
        if (rank < bestRank) {
            bestRank = rank;
            *found = entry;
        }
    }
    return bestRank < 4;
}

}  // namespace mirabo
