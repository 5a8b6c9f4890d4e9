// UTF-8 to and from wide text, independent of the process locale.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mirabo {

// The length of the valid UTF-8 sequence that `bytes` starts with, with its
// code point in `c`; 0 when the first byte starts none (a stray or
// continuation byte, a sequence cut short, overlong, a surrogate or beyond
// U+10FFFF). `bytes` must not be empty.
std::size_t DecodeUtf8(std::string_view bytes, char32_t& c);

// Malformed sequences become U+FFFD, one per bad byte.
std::wstring WideFromUtf8(std::string_view bytes);
// Characters that cannot be encoded (lone surrogates) become U+FFFD.
std::string Utf8FromWide(std::wstring_view text);
// How many UTF-16 code units the wide text takes: a character beyond U+FFFF
// counts two, whatever the size of wchar_t.
std::size_t Utf16Length(std::wstring_view text);

// Writes code point `c` as UTF-8 from `out` on and gives the end: one to four
// bytes. `c` must be a Unicode scalar value.
char* PutUtf8(char* out, char32_t c);

// The next character of a zero-terminated wide text, moving `text` past it;
// a lone surrogate or a value beyond U+10FFFF reads as U+FFFD.
char32_t NextCharacter(const wchar_t*& text);
std::string Utf8FromUtf16(std::u16string_view text);

}  // namespace mirabo
