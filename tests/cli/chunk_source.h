// A byte source over a string that hands it out in chunks of a chosen size, so
// that every way of cutting the input across reads gets tested.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>

#include "cli/byte_streams.h"

namespace mirabo {

class ChunkSource : public ByteSource {
public:
    ChunkSource(std::string bytes, std::size_t chunk) : bytes_(std::move(bytes)), chunk_(chunk) {}

    std::size_t Read(std::span<char> into) override {
        const std::size_t n = std::min({chunk_, into.size(), bytes_.size() - next_});
        std::memcpy(into.data(), bytes_.data() + next_, n);
        next_ += n;
        return n;
    }

private:
    std::string bytes_;
    std::size_t chunk_;
    std::size_t next_ = 0;
};

// Chunk sizes that cut inputs everywhere: byte by byte, at odd places, whole.
inline constexpr std::size_t kChunkSizes[] = {1, 2, 3, 5, 64 * 1024};

}  // namespace mirabo
