// String tables in compiled resources: strings stored sixteen to a block,
// block id / 16 + 1 holding string id % 16.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "resfile/resource_file.h"

namespace mirabo {

// String `index` (0 to 15) of one block: sixteen strings, each a length word
// and that many UTF-16 units. Empty when the string is empty, the block ends
// before it or the index is past 15.
std::u16string StringInBlock(const unsigned char* data, std::size_t size, unsigned index);

// String `id` of the string-table block that holds it in a .res image, in the
// language that serves `language` best; empty when there is none.
std::u16string FindString(const unsigned char* image, std::size_t size, unsigned id, std::uint16_t language);

}  // namespace mirabo
