#include "platform/linux/string_table.h"

#include <QList>

#include <algorithm>

#include "resfile/program_resources.h"
#include "resfile/string_table.h"

namespace mirabo::platform {

QString StringInBlock(const unsigned char* data, std::size_t size, UINT index) {
    const std::u16string text = mirabo::StringInBlock(data, size, index);
    return text.empty() ? QString() : QString::fromStdU16String(text);
}

QString ProgramString(UINT id) {
    const std::u16string text = ProgramText(id);
    return text.empty() ? QString() : QString::fromStdU16String(text);
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
