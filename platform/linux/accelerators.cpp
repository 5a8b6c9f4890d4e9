#include "platform/linux/accelerators.h"

#include <map>
#include <memory>

#include "platform/linux/byte_reader.h"
#include "platform/linux/resource_directory.h"

namespace mirabo::platform {

namespace {

struct AcceleratorTableObject {
    std::vector<ACCEL> entries;
};

// Handles stay valid for the life of the process, one per resource.
std::map<const ResourceEntry*, std::unique_ptr<AcceleratorTableObject>>& Accelerators() {
    static std::map<const ResourceEntry*, std::unique_ptr<AcceleratorTableObject>> tables;
    return tables;
}

}  // namespace

const std::vector<ACCEL>* AcceleratorTable(HACCEL table) {
    if (table == nullptr) return nullptr;
    for (const auto& [entry, object] : Accelerators()) {
        if (reinterpret_cast<HACCEL>(object.get()) == table) return &object->entries;
    }
    return nullptr;
}

}  // namespace mirabo::platform

// ---------------------------------------------------------------------------
// The platform's accelerator loading. There is one module, the program, so
// the instance is not looked at.

using namespace mirabo::platform;

HACCEL WINAPI LoadAcceleratorsW(HINSTANCE, LPCWSTR lpTableName) {
    const ResourceEntry* entry = FindProgramResource(RT_ACCELERATOR, lpTableName);
    if (entry == nullptr) return nullptr;
    auto& table = Accelerators()[entry];
    if (!table) {
        // Eight bytes an entry: flags, key, command, padding; the last entry
        // has the flag 0x80.
        table = std::make_unique<AcceleratorTableObject>();
        ByteReader reader(entry->data, entry->size);
        while (reader.remaining() >= 8) {
            WORD flags = reader.Word();
            WORD key = reader.Word();
            WORD command = reader.Word();
            reader.Word();  // padding
            table->entries.push_back({static_cast<BYTE>(flags & 0x7F), key, command});
            if (flags & 0x80) break;
        }
    }
    return reinterpret_cast<HACCEL>(table.get());
}
