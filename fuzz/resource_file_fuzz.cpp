// A whole compiled resource file (.res), mutated: its directory is read, and
// every entry goes to the reader of its type. The seed is the program's own
// resource file.
//
// What must hold: every entry the directory gives lies inside the file, the
// directory reads the same twice, and each entry keeps the invariants of its
// reader (resource_checks.cpp).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "fuzz/resource_checks.h"
#include "platform/linux/resource_directory.h"

namespace {

using mirabo::fuzz::Reader;

bool ReaderOf(const mirabo::platform::ResourceKey& type, Reader* reader) {
    if (!type.isOrdinal) return false;
    switch (type.ordinal) {
    case 2:
        *reader = Reader::Bitmap;
        return true;
    case 3:
        *reader = Reader::IconImage;
        return true;
    case 4:
        *reader = Reader::Menu;
        return true;
    case 5:
        *reader = Reader::DialogTemplate;
        return true;
    case 6:
        *reader = Reader::StringBlock;
        return true;
    case 9:
        *reader = Reader::Accelerators;
        return true;
    case 10:
        *reader = Reader::MenuBarData;
        return true;
    default:
        return false;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<mirabo::platform::ResourceEntry> entries;
    std::vector<mirabo::platform::ResourceEntry> again;
    const bool whole = mirabo::platform::ParseResourceFile(data, size, &entries);
    FUZZ_CHECK(mirabo::platform::ParseResourceFile(data, size, &again) == whole);
    FUZZ_CHECK(entries.size() == again.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto& entry = entries[i];
        FUZZ_CHECK(entry.data == again[i].data && entry.size == again[i].size);
        FUZZ_CHECK(entry.data >= data && entry.size <= size &&
                   static_cast<std::size_t>(entry.data - data) <= size - entry.size);
        Reader reader;
        if (ReaderOf(entry.type, &reader)) mirabo::fuzz::CheckReader(reader, entry.data, entry.size);
    }
    return 0;
}
