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
//
// What a Japanese input method types counts as its ASCII counterpart: the
// full-width digits "０" to "９" (U+FF10 to U+FF19) are digits, the full-width
// "．" (U+FF0E) is ".", "＋" (U+FF0B) is "+", and the full-width "－" (U+FF0D)
// and the minus sign "−" (U+2212) are "-", each allowed only where its ASCII
// counterpart is. Every other character keeps its meaning: spaces (the
// ideographic space too), commas and exponents are rejected.
NumberTextVerdict CheckSignedNumberText(const wchar_t* text);

// As CheckSignedNumberText, but a "-" anywhere rejects the text.
NumberTextVerdict CheckUnsignedNumberText(const wchar_t* text);

// The text's value as the C library's wcstod reads it in the "C" locale: the
// longest leading decimal number, 0 when there is none. Never depends on the
// process locale, so a comma-decimal desktop reads "12.5" as 12.5 too. The
// full-width characters the checks accept read as their ASCII counterparts, so
// "１２．５" is 12.5 and "1２" is 12.
double FieldTextToDouble(const wchar_t* text);

}  // namespace mirabo
