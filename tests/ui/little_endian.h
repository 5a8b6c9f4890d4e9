// Test data as compiled resources store it: 16-bit words, low byte first.
#pragma once

#include <cstdint>
#include <vector>

namespace mirabo::test {

inline std::vector<unsigned char> LittleEndian(const std::vector<std::uint16_t>& words) {
    std::vector<unsigned char> bytes;
    for (std::uint16_t word : words)
        bytes.insert(bytes.end(),
                     {static_cast<unsigned char>(word & 0xFF), static_cast<unsigned char>(word >> 8)});
    return bytes;
}

}  // namespace mirabo::test
