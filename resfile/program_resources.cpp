#include "resfile/program_resources.h"

#include "res/embedded_resource.h"
#include "resfile/string_table.h"

namespace mirabo {

std::vector<ResourceFileEntry> ProgramResourceFile() {
    std::vector<ResourceFileEntry> entries;
    ReadResourceFile(kMiraboResource, kMiraboResourceSize, &entries);
    return entries;
}

std::u16string ProgramText(unsigned id) { return FindString(kMiraboResource, kMiraboResourceSize, id); }

}  // namespace mirabo
