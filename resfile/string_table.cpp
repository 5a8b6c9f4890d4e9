#include "resfile/string_table.h"

#include "resfile/byte_reader.h"

namespace mirabo {

std::u16string StringInBlock(const unsigned char* data, std::size_t size, unsigned index) {
    ByteReader reader(data, size);
    for (unsigned at = 0; at < 16; ++at) {
        const std::uint16_t length = reader.Word();
        if (at == index) {
            std::u16string text = reader.Units(length);
            return reader.ok() ? text : std::u16string();
        }
        reader.Skip(2 * static_cast<std::size_t>(length));
        if (!reader.ok()) return {};
    }
    return {};
}

std::u16string FindString(const unsigned char* image, std::size_t size, unsigned id, std::uint16_t language) {
    ResourceFileEntry block;
    if (!FindOrdinalResource(image, size, kResourceTypeString, static_cast<std::uint16_t>((id >> 4) + 1),
                             language, &block)) {
        return {};
    }
    return StringInBlock(block.data, block.size, id & 15);
}

}  // namespace mirabo
