// UTF-8 to and from wide text, independent of the process locale.
#pragma once

#include <string>
#include <string_view>

namespace mirabo {

// Malformed sequences become U+FFFD, one per bad byte.
std::wstring WideFromUtf8(std::string_view bytes);
// Characters that cannot be encoded (lone surrogates) become U+FFFD.
std::string Utf8FromWide(std::wstring_view text);

}  // namespace mirabo
