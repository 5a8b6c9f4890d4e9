#include "text/json_string.h"

#include "text/utf8.h"

namespace mirabo {

char* PutJsonEscaped(char* p, char32_t c) {
    switch (c) {
    case '"':
        *p++ = '\\', *p++ = '"';
        return p;
    case '\\':
        *p++ = '\\', *p++ = '\\';
        return p;
    case '\n':
        *p++ = '\\', *p++ = 'n';
        return p;
    case '\r':
        *p++ = '\\', *p++ = 'r';
        return p;
    case '\t':
        *p++ = '\\', *p++ = 't';
        return p;
    default:
        break;
    }
    if (c < 0x20 || c == 0x7F) {
        constexpr char kHex[] = "0123456789abcdef";
        *p++ = '\\', *p++ = 'u', *p++ = '0', *p++ = '0';
        *p++ = kHex[c >> 4], *p++ = kHex[c & 15];
        return p;
    }
    return PutUtf8(p, c);
}

std::string JsonString(std::string_view utf8) {
    std::string json;
    EscapeJson(utf8, [&](const char* bytes, std::size_t size) { json.append(bytes, size); });
    return json;
}

}  // namespace mirabo
