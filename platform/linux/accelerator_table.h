// Accelerator tables as stored in the resources (RT_ACCELERATOR): eight
// bytes an entry, the last one marked.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/linux/win32_api.h"

namespace mirabo::platform {

// The entries of a table: each its flags (without the end mark), key and
// command, up to the entry with the end mark 0x80 or the last whole entry.
std::vector<ACCEL> ParseAcceleratorTable(const unsigned char* data, std::size_t size);

}  // namespace mirabo::platform
