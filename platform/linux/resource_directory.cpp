#include "platform/linux/resource_directory.h"

#include <cstdint>

#include "res/embedded_resource.h"

namespace mirabo::platform {

namespace {

std::size_t AlignDword(std::size_t n) { return (n + 3) & ~static_cast<std::size_t>(3); }

}  // namespace

bool ParseResourceFile(const unsigned char* image, std::size_t size, std::vector<ResourceEntry>* entries) {
    entries->clear();
    if (image == nullptr) return size == 0;
    std::size_t offset = 0;
    while (offset < size) {
        // RESOURCEHEADER: DataSize, HeaderSize, TYPE, NAME, padding to a
        // DWORD, DataVersion, MemoryFlags, LanguageId, Version, Characteristics.
        ByteReader header(image + offset, size - offset);
        DWORD dataSize = header.Dword();
        DWORD headerSize = header.Dword();
        if (!header.ok()) return false;
        if (headerSize < 16 || headerSize > size - offset) return false;
        if (dataSize > size - offset - headerSize) return false;
        ByteReader fields(image + offset, headerSize);
        fields.Skip(8);
        ResourceEntry entry;
        entry.type = ReadKey(fields, false);
        entry.name = ReadKey(fields, false);
        if (!fields.ok()) return false;
        fields.AlignDword();
        if (fields.remaining() >= 16) {
            fields.Skip(6);
            entry.language = fields.Word();
        }
        entry.data = image + offset + headerSize;
        entry.size = dataSize;
        // The file starts with an empty entry (type and name 0) that marks it
        // as a 32-bit resource file; it is no resource.
        bool marker = entry.type.isOrdinal && entry.type.ordinal == 0 && entry.name.isOrdinal &&
                      entry.name.ordinal == 0 && dataSize == 0;
        if (!marker) entries->push_back(entry);
        offset = AlignDword(offset + headerSize + dataSize);
    }
    return true;
}

const std::vector<ResourceEntry>& ProgramResources() {
    static const std::vector<ResourceEntry> entries = [] {
        std::vector<ResourceEntry> parsed;
        ParseResourceFile(kMiraboResource, kMiraboResourceSize, &parsed);
        return parsed;
    }();
    return entries;
}

const ResourceEntry* FindProgramResource(LPCWSTR type, LPCWSTR name) {
    for (const ResourceEntry& entry : ProgramResources()) {
        if (entry.type.Matches(type) && entry.name.Matches(name)) return &entry;
    }
    return nullptr;
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
// module handle is not looked at.

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
