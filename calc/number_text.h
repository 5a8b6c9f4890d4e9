// Rules for the texts typed into a field, and how a text becomes a number.
#pragma once

#include "calc/form.h"

namespace mirabo {

// True (1) when the text has no characters, else false (0). A text of spaces
// is not empty.
bool IsFieldEmpty(const wchar_t* text);

// What the number-text checks answer. Valid is 0: a check passes with no
// complaint.
enum class NumberTextVerdict : int {
    Valid = 0,
    Rejected = 1,
};

// Valid when the text is an optional leading "+" or "-" followed by digits
// with at most one "." among them; Rejected when it is not. The empty text is
// rejected.
NumberTextVerdict CheckSignedNumberText(const wchar_t* text);

// As CheckSignedNumberText, but a "-" anywhere rejects the text.
NumberTextVerdict CheckUnsignedNumberText(const wchar_t* text);

// The text's value as the C library's wcstod reads it in the "C" locale: the
// longest leading decimal number, 0 when there is none. Never depends on the
// process locale, so a comma-decimal desktop reads "12.5" as 12.5 too.
double FieldTextToDouble(const wchar_t* text);

}  // namespace mirabo
