// Keyboard accelerator tables from the program's resources
// (LoadAcceleratorsW), as TranslateAcceleratorW reads them.
#pragma once

#include <vector>

#include "platform/linux/win32_api.h"

namespace mirabo::platform {

// The entries of a table that LoadAcceleratorsW gave, or null.
const std::vector<ACCEL>* AcceleratorTable(HACCEL table);

}  // namespace mirabo::platform
