#include "platform/linux/string_table.h"

#include <QList>

#include <algorithm>

#include "platform/byte_reader.h"
#include "platform/linux/resource_directory.h"

namespace mirabo::platform {

QString StringInBlock(const unsigned char* data, std::size_t size, UINT index) {
    ByteReader reader(data, size);
    for (UINT at = 0; at < 16; ++at) {
        WORD length = reader.Word();
        if (at == index) {
            QString text = QString::fromStdU16String(reader.Units(length));
            return reader.ok() && length > 0 ? text : QString();
        }
        reader.Skip(2 * static_cast<std::size_t>(length));
        if (!reader.ok()) return QString();
    }
    return QString();
}

QString ProgramString(UINT id) {
    // Strings are stored sixteen to a block: block id / 16 + 1 holds string
    // id % 16.
    const ResourceEntry* block = FindProgramResource(RT_STRING, MAKEINTRESOURCEW((id >> 4) + 1));
    if (block == nullptr) return QString();
    return StringInBlock(block->data, block->size, id & 15);
}

}  // namespace mirabo::platform

// ---------------------------------------------------------------------------
// The platform's string loading. There is one module, the program, so the
// instance is not looked at.

using mirabo::platform::ProgramString;

int WINAPI LoadStringW(HINSTANCE, UINT uID, LPWSTR lpBuffer, int cchBufferMax) {
    // With no room, the platform would hand out a pointer to the stored
    // UTF-16 text, which a wide text here cannot point to.
    if (lpBuffer == nullptr || cchBufferMax <= 0) return 0;
    QList<uint> text = ProgramString(uID).toUcs4();
    int length = static_cast<int>(std::min<qsizetype>(text.size(), cchBufferMax - 1));
    for (int i = 0; i < length; ++i) lpBuffer[i] = static_cast<WCHAR>(text[i]);
    lpBuffer[length] = 0;
    return length;
}
