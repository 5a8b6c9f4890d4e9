#include "calc/result_output.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "calc/conversions.h"
#include "calc/messages.h"

namespace mirabo {
namespace {

// The value's thousandths rounded to the nearest integer, ties to even, as
// printf's "%.3f" rounds: exact, since a double below 2^52 in magnitude is
// m * 2^-s with an integer m below 2^53, and m * 1000 fits 64 bits. False for
// larger magnitudes (and infinities and NaN), which take the general way.
bool Thousandths(double magnitude, std::uint64_t& thousandths) {
    const auto bits = BitCast<std::uint64_t>(magnitude);
    const int exponent = static_cast<int>(bits >> 52);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    const std::uint64_t m = exponent == 0 ? fraction : fraction | (std::uint64_t{1} << 52);
    const int shift = exponent == 0 ? 1074 : 1075 - exponent;
    if (shift <= 0) {
        return false;
    }
    const std::uint64_t scaled = m * 1000;
    if (shift >= 64) {
        thousandths = 0;  // below half a thousandth: scaled < 2^63 <= 2^(shift-1)
        return true;
    }
    std::uint64_t quotient = scaled >> shift;
    const std::uint64_t remainder = scaled & ((std::uint64_t{1} << shift) - 1);
    const std::uint64_t half = std::uint64_t{1} << (shift - 1);
    if (remainder > half || (remainder == half && (quotient & 1) != 0)) {
        ++quotient;
    }
    thousandths = quotient;
    return true;
}

}  // namespace

bool FormatResult(double value, SignStyle sign, FieldBuffer& buffer) {
    buffer[0] = L'\0';
    // The longest "%.3f" text of a double has 309 integer digits, a sign, the
    // point and three decimals.
    char text[400];
    std::size_t length = 0;
    const bool plus = sign == SignStyle::Always && !std::signbit(value);
    if (plus) {
        text[length++] = '+';
    }
    if (std::isinf(value)) {
        const wchar_t* infinity = value < 0 ? L"-\u221E" : (plus ? L"+\u221E" : L"\u221E");
        std::size_t i = 0;
        for (; infinity[i] != L'\0'; ++i) {
            buffer[i] = infinity[i];
        }
        buffer[i] = L'\0';
        return true;
    }
    if (std::uint64_t thousandths = 0; Thousandths(std::fabs(value), thousandths)) {
        if (std::signbit(value)) {
            text[length++] = '-';
        }
        char digits[24];  // the whole part: at most 16 digits
        const auto whole = std::to_chars(digits, digits + sizeof digits, thousandths / 1000);
        for (const char* digit = digits; digit != whole.ptr; ++digit) {
            text[length++] = *digit;
        }
        const auto decimals = static_cast<unsigned>(thousandths % 1000);
        text[length++] = '.';
        text[length++] = static_cast<char>('0' + decimals / 100);
        text[length++] = static_cast<char>('0' + decimals / 10 % 10);
        text[length++] = static_cast<char>('0' + decimals % 10);
    } else {
        const auto result = WriteFixed(text + length, text + sizeof text, value, 3);
        if (result.ec != std::errc()) {
            return false;
        }
        length = static_cast<std::size_t>(result.ptr - text);
    }
    if (length >= kFieldCapacity) {
        return false;
    }
    for (std::size_t i = 0; i < length; ++i) {
        buffer[i] = static_cast<wchar_t>(text[i]);
    }
    buffer[length] = L'\0';
    return true;
}

bool FormatResults(CalcForm& form, std::span<const FieldResult> results, SignStyle sign,
                   std::span<FieldBuffer> buffers) {
    for (std::size_t i = 0; i < results.size(); ++i) {
        if (!FormatResult(results[i].value, sign, buffers[i])) {
            form.ShowMessage(MSG_CALC_EXCEPTION, kButtonsOk);
            return false;
        }
    }
    return true;
}

void WriteResults(CalcForm& form, std::span<const FieldResult> results,
                  std::span<const FieldBuffer> buffers) {
    for (std::size_t i = 0; i < results.size(); ++i) {
        form.NoteFieldValue(results[i].controlId, results[i].value);
        form.SetFieldText(results[i].controlId, buffers[i]);
    }
}

}  // namespace mirabo
