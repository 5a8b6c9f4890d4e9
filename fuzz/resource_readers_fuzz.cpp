// The readers of the resources' formats (dialog templates, menus and
// menu-bar data, string blocks, accelerator tables, bitmaps and icon images)
// on mutated copies of the program's compiled resources. An input is one byte
// that picks the reader, then the resource's bytes; the seeds are the
// program's own resources. The invariants are in resource_checks.cpp.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/resource_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using mirabo::fuzz::Reader;
    if (size == 0) return 0;
    const auto reader = static_cast<Reader>(data[0] % static_cast<int>(Reader::kCount));
    // A copy of exactly the resource's bytes, so that reading one past them
    // is caught.
    const std::vector<unsigned char> bytes(data + 1, data + size);
    mirabo::fuzz::CheckReader(reader, bytes.data(), bytes.size());
    return 0;
}
