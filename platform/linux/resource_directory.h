// The resource directory: the entries of the compiled resource file (.res)
// linked into the program, found by type and name the way the platform's
// loader finds resources in a module (FindResourceW and its kin).
#pragma once

#include <cstddef>
#include <vector>

#include "platform/linux/resource_key.h"
#include "platform/linux/win32_api.h"

namespace mirabo::platform {

struct ResourceEntry {
    ResourceKey type;
    ResourceKey name;
    WORD language = 0;
    const unsigned char* data = nullptr;
    std::size_t size = 0;
};

// Reads the entries of a .res image. Stops at the first entry that does not
// fit the image; returns false when that happened before the end.
bool ParseResourceFile(const unsigned char* image, std::size_t size, std::vector<ResourceEntry>* entries);

// The program's own resources, read once from the linked .res.
const std::vector<ResourceEntry>& ProgramResources();

// The program's resource of that type and name in the language that serves
// the thread's UI language best (the same language, else the same primary
// language, else language-neutral, else the first one), or null.
const ResourceEntry* FindProgramResource(LPCWSTR type, LPCWSTR name);

// How many bytes of one of the program's resources lie from p on, or 0 when p
// points into none of them.
std::size_t ResourceBytesFrom(const void* p);

}  // namespace mirabo::platform
