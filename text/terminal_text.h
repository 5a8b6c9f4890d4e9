// Text the user typed, made safe to write to a terminal: one line, and no
// control sequence reaches the terminal.
#pragma once

#include <string>
#include <string_view>

namespace mirabo {

// Copies UTF-8 text, writing every control character escaped so that it shows
// as what it is: "\n", "\r", "\t", "\x1b" for the C0 controls and DEL, "\u009b"
// for the C1 controls, and the same for the characters that show nothing or
// turn the text's direction (zero-width spaces and joiners, direction marks
// and embeddings, the byte-order mark: "\ufeff"). A byte that is not part of
// valid UTF-8 is written as "\xff" too. Everything else, a backslash too (as
// in a Windows path), stays as it is.
std::string TerminalSafe(std::string_view utf8);

}  // namespace mirabo
