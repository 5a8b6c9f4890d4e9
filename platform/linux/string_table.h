// The program's string table (LoadStringW): strings stored sixteen to a
// resource block.
#pragma once

#include <QString>

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/linux/win32_api.h"

namespace mirabo::platform {

// String `index` (0 to 15) of one block of a string table: sixteen strings,
// each a length word and that many UTF-16 units. A null string when it is
// empty or the block ends before it.
QString StringInBlock(const unsigned char* data, std::size_t size, UINT index);

// String `id` of the string table, or a null string when there is none.
QString ProgramString(UINT id);

// String `id` as LoadStringW gives it, in the thread's UI language, with each
// "%1" to "%9" replaced by that argument. The arguments go in as they are (a
// "%2" inside one stays), and a "%" followed by no argument's number stays.
QString FilledString(UINT id, std::initializer_list<QString> arguments);
// The same in UTF-8, with the arguments' bytes put in as they are.
std::string FilledUtf8(UINT id, std::initializer_list<std::string_view> arguments);

}  // namespace mirabo::platform
