#include "resfile/program_resources.h"

#include "res/embedded_resource.h"
#include "resfile/resource_language.h"
#include "resfile/string_table.h"

namespace mirabo {

std::vector<ResourceFileEntry> ProgramResourceFile() {
    std::vector<ResourceFileEntry> entries;
    ReadResourceFile(kMiraboResource, kMiraboResourceSize, &entries);
    return entries;
}

namespace {

std::uint16_t g_language = kLanguageJapanese;

}  // namespace

void SetProgramLanguage(std::uint16_t language) { g_language = language; }

std::uint16_t ProgramLanguage() { return g_language; }

std::u16string ProgramText(unsigned id) {
    return FindString(kMiraboResource, kMiraboResourceSize, id, g_language);
}

}  // namespace mirabo
