// The ordinal-or-name keys that name resources and their types, and dialog
// templates' menus, classes and titles: as stored, as read, and as a program
// asks for them.
#pragma once

#include <QString>

#include "platform/linux/win32_api.h"
#include "resfile/byte_reader.h"
#include "resfile/resource_file.h"

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

// Reads an ordinal-or-name field (sz_Or_Ord): 0xFFFF and an ordinal, or a
// zero-terminated text. With `zeroIsNone` a lone 0x0000 is the ordinal 0 (no
// menu, the standard class); without it, the empty text.
ResourceKey ReadKey(ByteReader& reader, bool zeroIsNone);

// A name read by the plain resource-file reader, as a key.
ResourceKey KeyOf(const ResourceName& name);

}  // namespace mirabo::platform
