// Keeps a dialog's edit controls from holding half a character: their text
// limit (EM_LIMITTEXT, in UTF-16 units) cuts what the user types or pastes,
// and a character beyond U+FFFF that would cross it is left out whole.
#pragma once

#include <windows.h>

namespace mirabo::windows {

// Watches every edit control of the dialog: after each insertion by the user
// (a key, a paste, the input method's result), the half of a surrogate pair
// just before the caret that the limit cut from its other half is taken out.
void KeepCharactersWhole(HWND dialog);

}  // namespace mirabo::windows
