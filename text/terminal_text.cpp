#include "text/terminal_text.h"

#include "text/utf8.h"

namespace mirabo {
namespace {

constexpr char kHex[] = "0123456789abcdef";

// Characters that take no room on a terminal and show nothing, or turn the
// direction of the text after them: the soft hyphen, the zero-width spaces
// and joiners, the direction marks, embeddings and isolates, the line and
// paragraph separators, the byte-order mark and the interlinear annotations.
bool IsInvisible(char32_t c) {
    return c == 0xAD || c == 0x61C || c == 0x180E || (c >= 0x200B && c <= 0x200F) ||
           (c >= 0x2028 && c <= 0x202E) || (c >= 0x2060 && c <= 0x2064) || (c >= 0x2066 && c <= 0x206F) ||
           c == 0xFEFF || (c >= 0xFFF9 && c <= 0xFFFB);
}

void PutUnicodeEscape(std::string& out, char32_t c) {
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4) {
        out += kHex[(c >> shift) & 15];
    }
}

}  // namespace

std::string TerminalSafe(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        char32_t c = 0;
        const std::size_t length = DecodeUtf8(utf8, c);
        if (length == 0) {
            const auto byte = static_cast<unsigned char>(utf8[0]);
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
            utf8.remove_prefix(1);
            continue;
        }
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else if ((c >= 0x80 && c <= 0x9F) || IsInvisible(c)) {
            PutUnicodeEscape(out, c);
        } else {
            out.append(utf8.substr(0, length));
        }
        utf8.remove_prefix(length);
    }
    return out;
}

}  // namespace mirabo
