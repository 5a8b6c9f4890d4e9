// Rules for the texts typed into a field, and how a text becomes a number.
#pragma once

#include "calc/form.h"

namespace mirabo {

// 1 when the text has no characters, else 0. A text of spaces is not empty.
int IsFieldEmpty(const wchar_t* text);

// 0 when the text is an optional leading "+" or "-" followed by digits with at
// most one "." among them; 1 when it is not. The empty text is rejected.
int CheckSignedNumberText(const wchar_t* text);

// As CheckSignedNumberText, but a "-" anywhere rejects the text.
int CheckUnsignedNumberText(const wchar_t* text);

// The text's value as the C library's wcstod reads it in the "C" locale: the
// longest leading decimal number, 0 when there is none. Never depends on the
// process locale, so a comma-decimal desktop reads "12.5" as 12.5 too.
double FieldTextToDouble(const wchar_t* text);

}  // namespace mirabo
