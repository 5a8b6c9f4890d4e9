// The program's string table (LoadStringW): strings stored sixteen to a
// resource block.
#pragma once

#include <QString>

#include <cstddef>

#include "platform/linux/win32_api.h"

namespace mirabo::platform {

// String `index` (0 to 15) of one block of a string table: sixteen strings,
// each a length word and that many UTF-16 units. A null string when it is
// empty or the block ends before it.
QString StringInBlock(const unsigned char* data, std::size_t size, UINT index);

// String `id` of the string table, or a null string when there is none.
QString ProgramString(UINT id);

}  // namespace mirabo::platform
