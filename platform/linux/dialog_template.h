// Dialog templates in the platform's classic binary form (DLGTEMPLATE and
// DLGITEMTEMPLATE records), read as the platform's dialog manager reads them.
#pragma once

#include <QString>

#include <cstddef>
#include <vector>

#include "platform/linux/resource_key.h"
#include "platform/linux/win32_api.h"

namespace mirabo::platform {

enum class ControlClass { Button, Edit, Static, Other };

struct DialogItemTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    WORD id = 0;
    ResourceKey windowClass;  // ordinal 0x0080 to 0x0085 or a class name
    ResourceKey title;        // text, or an ordinal (a picture's resource)
    std::size_t extraBytes = 0;

    ControlClass Class() const;
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    ResourceKey menu;         // ordinal 0: none
    ResourceKey windowClass;  // ordinal 0: the standard dialog class
    QString title;
    bool hasFont = false;  // DS_SETFONT
    WORD pointSize = 0;
    QString faceName;
    std::vector<DialogItemTemplate> items;
};

// Reads a template of at most `size` bytes. False for the extended form
// (DLGTEMPLATEEX) and for a template that does not fit in `size`.
bool ParseDialogTemplate(const void* data, std::size_t size, DialogTemplate* out);

}  // namespace mirabo::platform
