// The program's own compiled resources as linked into every front end
// (res/embedded_resource.h): where mirabo-calc, batch mode and the Linux
// platform layer take the program's strings from, in the language chosen for
// the process.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "resfile/resource_file.h"

namespace mirabo {

// Every entry of the program's resources.
std::vector<ResourceFileEntry> ProgramResourceFile();

// The language the program's resources are looked up in, as the user's
// language decides (resfile/resource_language.h); Japanese until it is set.
// Windows' loader keeps it per thread; the program has one thread.
void SetProgramLanguage(std::uint16_t language);
std::uint16_t ProgramLanguage();

// String `id` of the program's string table, in the program's language;
// empty when there is none.
std::u16string ProgramText(unsigned id);

}  // namespace mirabo
