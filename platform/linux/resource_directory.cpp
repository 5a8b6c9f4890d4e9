#include "platform/linux/resource_directory.h"

#include <cstdint>

#include "resfile/program_resources.h"
#include "resfile/resource_language.h"

namespace mirabo::platform {

namespace {

ResourceEntry EntryOf(const ResourceFileEntry& entry) {
    return {KeyOf(entry.type), KeyOf(entry.name), entry.language, entry.data, entry.size};
}

}  // namespace

bool ParseResourceFile(const unsigned char* image, std::size_t size, std::vector<ResourceEntry>* entries) {
    std::vector<ResourceFileEntry> read;
    const bool whole = ReadResourceFile(image, size, &read);
    entries->clear();
    for (const ResourceFileEntry& entry : read) entries->push_back(EntryOf(entry));
    return whole;
}

const std::vector<ResourceEntry>& ProgramResources() {
    static const std::vector<ResourceEntry> entries = [] {
        std::vector<ResourceEntry> keyed;
        for (const ResourceFileEntry& entry : ProgramResourceFile()) keyed.push_back(EntryOf(entry));
        return keyed;
    }();
    return entries;
}

const ResourceEntry* FindProgramResource(LPCWSTR type, LPCWSTR name) {
    const ResourceEntry* best = nullptr;
    int bestRank = 4;
    for (const ResourceEntry& entry : ProgramResources()) {
        if (!entry.type.Matches(type) || !entry.name.Matches(name)) continue;
        const int rank = LanguageRank(entry.language, ProgramLanguage());
        if (rank < bestRank) {
            best = &entry;
            bestRank = rank;
        }
    }
    return best;
}

std::size_t ResourceBytesFrom(const void* p) {
    auto* byte = static_cast<const unsigned char*>(p);
    for (const ResourceEntry& entry : ProgramResources()) {
        // Compare as integers: the pointer may belong to another object.
        auto begin = reinterpret_cast<std::uintptr_t>(entry.data);
        auto at = reinterpret_cast<std::uintptr_t>(byte);
        if (at >= begin && at < begin + entry.size) return entry.size - (at - begin);
    }
    return 0;
}

}  // namespace mirabo::platform

// ---------------------------------------------------------------------------
// The platform's resource functions. There is one module, the program, so the
// module handle is not looked at. The program has one thread, whose UI
// language is the one the program's texts are read in everywhere.

LANGID WINAPI SetThreadUILanguage(LANGID LangId) {
    if (LangId != 0) mirabo::SetProgramLanguage(LangId);
    return mirabo::ProgramLanguage();
}

LANGID WINAPI GetThreadUILanguage(void) { return mirabo::ProgramLanguage(); }

using mirabo::platform::FindProgramResource;
using mirabo::platform::ResourceEntry;

HRSRC WINAPI FindResourceW(HMODULE, LPCWSTR lpName, LPCWSTR lpType) {
    const ResourceEntry* entry = FindProgramResource(lpType, lpName);
    return reinterpret_cast<HRSRC>(const_cast<ResourceEntry*>(entry));
}

namespace {

// The entry behind a handle that FindResourceW gave, or null for any other value.
const ResourceEntry* EntryOf(HRSRC handle) {
    const auto& entries = mirabo::platform::ProgramResources();
    for (const ResourceEntry& entry : entries) {
        if (reinterpret_cast<HRSRC>(const_cast<ResourceEntry*>(&entry)) == handle) return &entry;
    }
    return nullptr;
}

}  // namespace

HGLOBAL WINAPI LoadResource(HMODULE, HRSRC hResInfo) {
    const ResourceEntry* entry = EntryOf(hResInfo);
    return entry ? const_cast<unsigned char*>(entry->data) : nullptr;
}

LPVOID WINAPI LockResource(HGLOBAL hResData) { return hResData; }

DWORD WINAPI SizeofResource(HMODULE, HRSRC hResInfo) {
    const ResourceEntry* entry = EntryOf(hResInfo);
    return entry ? static_cast<DWORD>(entry->size) : 0;
}
