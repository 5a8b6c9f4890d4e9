#include "text/terminal_text.h"

#include "text/utf8.h"

namespace mirabo {
namespace {

constexpr char kHex[] = "0123456789abcdef";

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
        } else if (c >= 0x80 && c <= 0x9F) {
            out += "\\u00";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out.append(utf8.substr(0, length));
        }
        utf8.remove_prefix(length);
    }
    return out;
}

}  // namespace mirabo
