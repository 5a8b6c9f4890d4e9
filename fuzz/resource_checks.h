// The resource readers run on bytes of any kind, with what must hold of what
// each one reads; shared by the fuzz targets of the resources.
#pragma once

#include <cstddef>

namespace mirabo::fuzz {

// The readers, in the order a reader fuzz input's first byte picks them.
enum class Reader { DialogTemplate, Menu, MenuBarData, StringBlock, Accelerators, Bitmap, IconImage, kCount };

// Reads the bytes with one reader, twice, and checks the invariants: the
// same result both times; what is read lies inside the bytes; fields read as
// stored; pictures no larger than their data can describe.
void CheckReader(Reader reader, const unsigned char* data, std::size_t size);

}  // namespace mirabo::fuzz
