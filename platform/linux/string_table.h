// The program's string table (LoadStringW): strings stored sixteen to a
// resource block.
#pragma once

#include <QString>

#include "platform/linux/win32_api.h"

namespace mirabo::platform {

// String `id` of the string table, or a null string when there is none.
QString ProgramString(UINT id);

}  // namespace mirabo::platform
