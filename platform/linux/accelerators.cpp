// Keyboard accelerators: the tables of the program's resources
// (LoadAcceleratorsW) and the translation of key messages into the commands
// they stand for (TranslateAcceleratorW).
#include <map>
#include <memory>
#include <vector>

#include "platform/linux/accelerator_table.h"
#include "platform/linux/messages.h"
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

// The entries of a table that LoadAcceleratorsW gave, or null.
const std::vector<ACCEL>* AcceleratorTable(HACCEL table) {
    if (table == nullptr) return nullptr;
    for (const auto& [entry, object] : Accelerators()) {
        if (reinterpret_cast<HACCEL>(object.get()) == table) return &object->entries;
    }
    return nullptr;
}

}  // namespace

}  // namespace mirabo::platform

// ---------------------------------------------------------------------------
// The platform's accelerator functions. There is one module, the program, so
// the instance is not looked at.

using namespace mirabo::platform;

HACCEL WINAPI LoadAcceleratorsW(HINSTANCE, LPCWSTR lpTableName) {
    const ResourceEntry* entry = FindProgramResource(RT_ACCELERATOR, lpTableName);
    if (entry == nullptr) return nullptr;
    auto& table = Accelerators()[entry];
    if (!table) {
        table = std::make_unique<AcceleratorTableObject>();
        table->entries = ParseAcceleratorTable(entry->data, entry->size);
    }
    return reinterpret_cast<HACCEL>(table.get());
}

int WINAPI TranslateAcceleratorW(HWND hWnd, HACCEL hAccTable, LPMSG lpMsg) {
    if (hWnd == nullptr || lpMsg == nullptr) return 0;
    const std::vector<ACCEL>* table = AcceleratorTable(hAccTable);
    if (table == nullptr) return 0;
    UINT message = lpMsg->message;
    bool keyDown = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    bool character = message == WM_CHAR || message == WM_SYSCHAR;
    if (!keyDown && !character) return 0;
    Qt::KeyboardModifiers modifiers = KeyModifiers();
    bool control = modifiers & Qt::ControlModifier;
    bool shift = modifiers & Qt::ShiftModifier;
    bool alt = modifiers & Qt::AltModifier;
    for (const ACCEL& entry : *table) {
        bool matched = false;
        if (entry.fVirt & FVIRTKEY) {
            matched = keyDown && entry.key == lpMsg->wParam && ((entry.fVirt & FCONTROL) != 0) == control &&
                      ((entry.fVirt & FSHIFT) != 0) == shift && ((entry.fVirt & FALT) != 0) == alt;
        } else {
            // A character accelerator: the character typed, Alt as the table says.
            matched = character && entry.key == lpMsg->wParam && ((entry.fVirt & FALT) != 0) == alt;
        }
        if (matched) {
            SendMessageW(hWnd, WM_COMMAND, MAKEWPARAM(entry.cmd, 1), 0);
            return 1;
        }
    }
    return 0;
}
