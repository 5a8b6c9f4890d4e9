// JSON strings: the escapes of RFC 8259 for the quote, the backslash and the
// control characters (DEL too), everything else as UTF-8 as it stands.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mirabo {

// Writes character `c` as it stands in a JSON string, escaped where needed,
// from `out` on; gives the end. At most six bytes.
char* PutJsonEscaped(char* out, char32_t c);

// UTF-8 text as a JSON string, quotes included, handed piece by piece to
// `append(bytes, size)`. Bytes of 0x80 and above are copied as they are.
template <typename Append>
void EscapeJson(std::string_view utf8, Append append) {
    append("\"", 1);
    for (const char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x80) {
            append(&c, 1);  // part of a UTF-8 character, which stands as it is
        } else {
            char escaped[8];
            append(escaped, static_cast<std::size_t>(PutJsonEscaped(escaped, u) - escaped));
        }
    }
    append("\"", 1);
}

// The same as a string.
std::string JsonString(std::string_view utf8);

}  // namespace mirabo
