// JSON strings: the escapes of RFC 8259 for the quote, the backslash and the
// control characters (C0, DEL and C1), everything else as UTF-8 as it stands.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mirabo {

// Writes character `c` as it stands in a JSON string, escaped where needed,
// from `out` on; gives the end. At most six bytes.
char* PutJsonEscaped(char* out, char32_t c);

// UTF-8 text as a JSON string, quotes included, handed piece by piece to
// `append(bytes, size)`. Bytes of 0x80 and above are copied as they are, but
// for the C1 controls (0xC2 0x80 to 0xC2 0x9F), which are escaped.
template <typename Append>
void EscapeJson(std::string_view utf8, Append append) {
    append("\"", 1);
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto u = static_cast<unsigned char>(utf8[i]);
        const auto next = static_cast<unsigned char>(i + 1 < utf8.size() ? utf8[i + 1] : 0);
        char escaped[8];
        if (u == 0xC2 && next >= 0x80 && next < 0xA0) {
            append(escaped, static_cast<std::size_t>(PutJsonEscaped(escaped, next) - escaped));
            ++i;
        } else if (u >= 0x80) {
            append(&utf8[i], 1);  // part of a UTF-8 character, which stands as it is
        } else {
            append(escaped, static_cast<std::size_t>(PutJsonEscaped(escaped, u) - escaped));
        }
    }
    append("\"", 1);
}

// The same as a string.
std::string JsonString(std::string_view utf8);

}  // namespace mirabo
