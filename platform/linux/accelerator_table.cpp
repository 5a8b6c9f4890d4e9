#include "platform/linux/accelerator_table.h"

#include "resfile/byte_reader.h"

namespace mirabo::platform {

std::vector<ACCEL> ParseAcceleratorTable(const unsigned char* data, std::size_t size) {
    // Flags, key, command and a padding word; the last entry has the flag 0x80.
    std::vector<ACCEL> entries;
    ByteReader reader(data, size);
    while (reader.remaining() >= 8) {
        WORD flags = reader.Word();
        WORD key = reader.Word();
        WORD command = reader.Word();
        reader.Word();  // padding
        entries.push_back({static_cast<BYTE>(flags & 0x7F), key, command});
        if (flags & 0x80) break;
    }
    return entries;
}

}  // namespace mirabo::platform
