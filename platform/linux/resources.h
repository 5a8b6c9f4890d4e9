// The program's resources: the compiled resource file (.res) linked into the
// program, read the way the platform's loader finds resources in a module.
#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/linux/win32_api.h"

namespace mirabo::platform {

// A resource type or name as stored: a 16-bit ordinal or a text.
struct ResourceKey {
    bool isOrdinal = true;
    WORD ordinal = 0;
    QString text;

    // Whether a type or name as a program passes it (MAKEINTRESOURCEW, a
    // "#123" text or a name, compared without regard to case) is this one.
    bool Matches(LPCWSTR wanted) const;
};

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

// The first of the program's resources of that type and name, or null.
const ResourceEntry* FindProgramResource(LPCWSTR type, LPCWSTR name);

// How many bytes of one of the program's resources lie from p on, or 0 when p
// points into none of them.
std::size_t ResourceBytesFrom(const void* p);

}  // namespace mirabo::platform
