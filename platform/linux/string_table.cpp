#include "platform/linux/string_table.h"

#include <QList>

#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>

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

namespace {

char16_t UnitAt(const QString& text, qsizetype i) { return text[i].unicode(); }
char16_t UnitAt(const std::string& text, std::size_t i) { return static_cast<unsigned char>(text[i]); }

// `format` with each "%1" to "%9" replaced by that argument.
template <typename Text, typename Argument>
Text Filled(const Text& format, std::initializer_list<Argument> arguments) {
    Text filled;
    filled.reserve(format.size());
    for (decltype(format.size()) i = 0; i < format.size(); ++i) {
        const char16_t next = i + 1 < format.size() ? UnitAt(format, i + 1) : u'\0';
        const int number = UnitAt(format, i) == u'%' && next >= u'1' && next <= u'9' ? next - u'0' : 0;
        if (number >= 1 && static_cast<std::size_t>(number) <= arguments.size()) {
            filled += arguments.begin()[number - 1];
            ++i;
        } else {
            filled += format[i];
        }
    }
    return filled;
}

QString LoadedString(UINT id) {
    WCHAR loaded[1024];
    const int length = LoadStringW(nullptr, id, loaded, static_cast<int>(std::size(loaded)));
    return QString::fromWCharArray(loaded, length);
}

}  // namespace

QString FilledString(UINT id, std::initializer_list<QString> arguments) {
    return Filled(LoadedString(id), arguments);
}

std::string FilledUtf8(UINT id, std::initializer_list<std::string_view> arguments) {
    return Filled(LoadedString(id).toStdString(), arguments);
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
