#include "platform/linux/resources.h"

#include <cstring>
#include <cwctype>

#include "res/embedded_resource.h"

namespace mirabo::platform {

namespace {

WORD ReadWord(const unsigned char* p) { return static_cast<WORD>(p[0] | (p[1] << 8)); }

DWORD ReadDword(const unsigned char* p) {
    return static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 8) | (static_cast<DWORD>(p[2]) << 16) |
           (static_cast<DWORD>(p[3]) << 24);
}

// Reads an ordinal (0xFFFF and the value) or a zero-terminated UTF-16 text
// from [*offset, end); false when it runs past the end.
bool ReadKey(const unsigned char* base, std::size_t end, std::size_t* offset, ResourceKey* key) {
    if (*offset + 2 > end) return false;
    if (ReadWord(base + *offset) == 0xFFFF) {
        if (*offset + 4 > end) return false;
        key->isOrdinal = true;
        key->ordinal = ReadWord(base + *offset + 2);
        *offset += 4;
        return true;
    }
    key->isOrdinal = false;
    std::u16string text;
    for (;;) {
        if (*offset + 2 > end) return false;
        char16_t unit = ReadWord(base + *offset);
        *offset += 2;
        if (unit == 0) break;
        text.push_back(unit);
    }
    key->text = QString::fromStdU16String(text);
    return true;
}

std::size_t AlignDword(std::size_t n) { return (n + 3) & ~static_cast<std::size_t>(3); }

}  // namespace

bool ResourceKey::Matches(LPCWSTR wanted) const {
    if (wanted == nullptr) return false;
    if (IS_INTRESOURCE(wanted)) {
        return isOrdinal && ordinal == static_cast<WORD>(reinterpret_cast<ULONG_PTR>(wanted));
    }
    if (wanted[0] == L'#') {
        // "#105" names the ordinal 105.
        unsigned long value = 0;
        const WCHAR* p = wanted + 1;
        if (*p == 0) return false;
        for (; *p; ++p) {
            if (*p < L'0' || *p > L'9') return false;
            value = value * 10 + static_cast<unsigned long>(*p - L'0');
            if (value > 0xFFFF) return false;
        }
        return isOrdinal && ordinal == value;
    }
    if (isOrdinal) return false;
    return text.compare(QString::fromWCharArray(wanted), Qt::CaseInsensitive) == 0;
}

bool ParseResourceFile(const unsigned char* image, std::size_t size, std::vector<ResourceEntry>* entries) {
    entries->clear();
    if (image == nullptr) return size == 0;
    std::size_t offset = 0;
    while (offset < size) {
        // RESOURCEHEADER: DataSize, HeaderSize, TYPE, NAME, padding to a
        // DWORD, DataVersion, MemoryFlags, LanguageId, Version, Characteristics.
        if (size - offset < 8) return false;
        DWORD dataSize = ReadDword(image + offset);
        DWORD headerSize = ReadDword(image + offset + 4);
        if (headerSize < 16 || headerSize > size - offset) return false;
        if (dataSize > size - offset - headerSize) return false;
        std::size_t headerEnd = offset + headerSize;
        std::size_t field = offset + 8;
        ResourceEntry entry;
        if (!ReadKey(image, headerEnd, &field, &entry.type)) return false;
        if (!ReadKey(image, headerEnd, &field, &entry.name)) return false;
        field = offset + AlignDword(field - offset);
        if (field + 16 <= headerEnd) entry.language = ReadWord(image + field + 6);
        entry.data = image + headerEnd;
        entry.size = dataSize;
        // The file starts with an empty entry (type and name 0) that marks it
        // as a 32-bit resource file; it is no resource.
        bool marker = entry.type.isOrdinal && entry.type.ordinal == 0 && entry.name.isOrdinal &&
                      entry.name.ordinal == 0 && dataSize == 0;
        if (!marker) entries->push_back(entry);
        offset = AlignDword(headerEnd + dataSize);
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
