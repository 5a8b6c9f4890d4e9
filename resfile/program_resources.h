// The program's own compiled resources as linked into every front end
// (res/embedded_resource.h): where mirabo-calc, batch mode and the Linux
// platform layer take the program's strings from. Nothing is kept between
// calls.
#pragma once

#include <string>
#include <vector>

#include "resfile/resource_file.h"

namespace mirabo {

// Every entry of the program's resources.
std::vector<ResourceFileEntry> ProgramResourceFile();

// String `id` of the program's string table; empty when there is none.
std::u16string ProgramText(unsigned id);

}  // namespace mirabo
