#include "calc/number_text.h"

#include <cmath>
#include <cwchar>
#include <string_view>

#include "calc/conversions.h"

namespace mirabo {
namespace {

// What a character of a number text stands for: the full-width digits, full
// stop, plus and hyphen-minus that a Japanese input method types, and the minus
// sign, read as their ASCII counterparts; every other character stands for
// itself. The checks and the conversion both read through this, so a character
// is accepted exactly when it is read as what it looks like.
wchar_t AsciiCounterpart(wchar_t c) {
    if (c >= L'\uFF10' && c <= L'\uFF19') {
        return static_cast<wchar_t>(L'0' + (c - L'\uFF10'));
    }
    switch (c) {
    case L'\uFF0E':  // FULLWIDTH FULL STOP
        return L'.';
    case L'\uFF0B':  // FULLWIDTH PLUS SIGN
        return L'+';
    case L'\uFF0D':  // FULLWIDTH HYPHEN-MINUS
    case L'\u2212':  // MINUS SIGN
        return L'-';
    default:
        return c;
    }
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Walks the text from its first character and rejects it at the first character
// that breaks a rule. The first position is always examined, so the empty text
// meets its terminating zero there and is rejected.
NumberTextVerdict CheckNumberText(const wchar_t* text, bool minusAllowed) {
    int points = 0;
    for (int i = 0;; ++i) {
        const wchar_t c = AsciiCounterpart(text[i]);
        if (IsDigit(c)) {
            continue;
        }
        if (c == L'\0' && i > 0) {
            return NumberTextVerdict::Valid;
        }
        if (c == L'.') {
            if (++points > 1) {
                return NumberTextVerdict::Rejected;
            }
        } else if (c == L'+' || (c == L'-' && minusAllowed)) {
            if (i != 0) {
                return NumberTextVerdict::Rejected;
            }
        } else {
            return NumberTextVerdict::Rejected;
        }
    }
}

}  // namespace

bool IsFieldEmpty(const wchar_t* text) { return text[0] == L'\0'; }

NumberTextVerdict CheckSignedNumberText(const wchar_t* text) { return CheckNumberText(text, true); }

NumberTextVerdict CheckUnsignedNumberText(const wchar_t* text) { return CheckNumberText(text, false); }

double FieldTextToDouble(const wchar_t* text) {
    const wchar_t* p = text;
    while (*p == L' ' || (*p >= L'\t' && *p <= L'\r')) {
        ++p;
    }
    bool negative = false;
    if (const wchar_t sign = AsciiCounterpart(*p); sign == L'+' || sign == L'-') {
        negative = sign == L'-';
        ++p;
    }
    // Copy the run of characters a decimal number may hold into a narrow buffer;
    // ReadDouble then takes the longest number it can and is locale-free.
    char narrow[kFieldCapacity * 2];
    std::size_t n = 0;
    for (; n + 1 < sizeof narrow; ++n, ++p) {
        const wchar_t c = AsciiCounterpart(*p);
        if (!(IsDigit(c) || c == L'.' || c == L'e' || c == L'E' || c == L'+' || c == L'-')) {
            break;
        }
        narrow[n] = static_cast<char>(c);
    }
    double value = 0.0;
    const auto [end, error] = ReadDouble(narrow, narrow + n, value);
    if (end == narrow) {
        return 0.0;  // no number at all: wcstod gives +0
    }
    if (error == std::errc::result_out_of_range) {
        // Only reachable through an exponent, which no accepted text has: a
        // negative exponent underflows to 0, a positive one overflows, as in wcstod.
        const std::string_view number(narrow, static_cast<std::size_t>(end - narrow));
        const std::size_t e = number.find_first_of("eE");
        const bool tiny = e != std::string_view::npos && e + 1 < number.size() && number[e + 1] == '-';
        value = tiny ? 0.0 : HUGE_VAL;
    }
    return negative ? -value : value;
}

}  // namespace mirabo
