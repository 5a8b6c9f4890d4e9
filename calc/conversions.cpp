#include "calc/conversions.h"

// The C++ library's own conversions where it has them (GCC's libstdc++, on
// Linux and Windows); fast_float and fmt, which give the same results, where it
// has not (LLVM's libc++ of the WebAssembly build), or when the build asks for
// them (MIRABO_LIBRARY_CONVERSIONS) to test them against the C++ library's.
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L && !defined(MIRABO_LIBRARY_CONVERSIONS)
#define MIRABO_STANDARD_CONVERSIONS 1
#else
#define MIRABO_STANDARD_CONVERSIONS 0
#endif

#if !MIRABO_STANDARD_CONVERSIONS
#include <fast_float/fast_float.h>
#define FMT_HEADER_ONLY 1
#include <fmt/format.h>

#include <cmath>
#include <cstring>
#endif

namespace mirabo {

#if MIRABO_STANDARD_CONVERSIONS

std::from_chars_result ReadDouble(const char* first, const char* last, double& value) {
    return std::from_chars(first, last, value, std::chars_format::general);
}

std::to_chars_result WriteShortest(char* first, char* last, double value) {
    return std::to_chars(first, last, value);
}

std::to_chars_result WriteFixed(char* first, char* last, double value, int decimals) {
    return std::to_chars(first, last, value, std::chars_format::fixed, decimals);
}

#else

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// True when [first, end) is a number in digits that fast_float read as an
// infinity, or as zero although a digit of its significand is not zero: the
// cases std::from_chars reports as out of range.
bool OutOfRange(const char* first, const char* end, double read) {
    const char* p = first;
    if (p != end && *p == '-') {
        ++p;
    }
    if (p == end || !(IsDigit(*p) || *p == '.')) {
        return false;  // "inf" or "nan" as written
    }
    if (std::isinf(read)) {
        return true;
    }
    if (read != 0.0) {
        return false;
    }
    for (; p != end && *p != 'e' && *p != 'E'; ++p) {
        if (*p >= '1' && *p <= '9') {
            return true;
        }
    }
    return false;
}

std::to_chars_result Put(char* first, char* last, const char* text) {
    const std::size_t length = std::strlen(text);
    if (static_cast<std::size_t>(last - first) < length) {
        return {last, std::errc::value_too_large};
    }
    std::memcpy(first, text, length);
    return {first + length, std::errc()};
}

// The shortest decimal digits of a finite, non-zero double: value =
// d1.d2d3... * 10^exponent, with no trailing zero among the digits.
struct ShortestDigits {
    char digits[24];
    int count = 0;
    int exponent = 0;
};

// Takes the digits from fmt's shortest text ("123.45", "0.0001", "1.5e+16"),
// whatever the form fmt chose for them.
ShortestDigits Digits(double magnitude) {
    char text[40];
    const auto written = fmt::format_to_n(text, sizeof text - 1, "{}", magnitude);
    *written.out = '\0';
    ShortestDigits shortest;
    int beforePoint = 0;
    bool point = false;
    const char* p = text;
    for (; IsDigit(*p) || *p == '.'; ++p) {
        if (*p == '.') {
            point = true;
        } else if (shortest.count == 0 && *p == '0') {
            beforePoint -= point ? 1 : 0;  // a leading zero moves the first digit right
        } else {
            shortest.digits[shortest.count++] = *p;
            beforePoint += point ? 0 : 1;
        }
    }
    while (shortest.count > 0 && shortest.digits[shortest.count - 1] == '0') {
        --shortest.count;
    }
    const int scale = *p == 'e' ? static_cast<int>(std::strtol(p + 1, nullptr, 10)) : 0;
    shortest.exponent = beforePoint - 1 + scale;
    return shortest;
}

int DecimalLength(int n) {
    int length = 1;
    for (; n >= 10; n /= 10) {
        ++length;
    }
    return length;
}

}  // namespace

std::from_chars_result ReadDouble(const char* first, const char* last, double& value) {
    double read = 0.0;
    const auto result = fast_float::from_chars(first, last, read, fast_float::chars_format::general);
    if (result.ec != std::errc()) {
        return {result.ptr, result.ec};
    }
    if (OutOfRange(first, result.ptr, read)) {
        return {result.ptr, std::errc::result_out_of_range};
    }
    value = read;
    return {result.ptr, std::errc()};
}

std::to_chars_result WriteShortest(char* first, char* last, double value) {
    const bool negative = std::signbit(value);
    if (std::isnan(value)) {
        return Put(first, last, negative ? "-nan" : "nan");
    }
    if (std::isinf(value)) {
        return Put(first, last, negative ? "-inf" : "inf");
    }
    if (value == 0.0) {
        return Put(first, last, negative ? "-0" : "0");
    }
    const ShortestDigits d = Digits(std::fabs(value));
    const int n = d.count;
    const int e = d.exponent;
    const int exponentDigits = DecimalLength(e < 0 ? -e : e);
    const int scientific = n + (n > 1 ? 1 : 0) + 2 + (exponentDigits < 2 ? 2 : exponentDigits);
    const int fixed = e >= n - 1 ? e + 1 : (e >= 0 ? n + 1 : n + 1 - e);
    const bool useFixed = fixed <= scientific;
    const int length = (negative ? 1 : 0) + (useFixed ? fixed : scientific);
    if (last - first < length) {
        return {last, std::errc::value_too_large};
    }
    char* p = first;
    if (negative) {
        *p++ = '-';
    }
    if (!useFixed) {
        *p++ = d.digits[0];
        if (n > 1) {
            *p++ = '.';
            std::memcpy(p, d.digits + 1, static_cast<std::size_t>(n - 1));
            p += n - 1;
        }
        *p++ = 'e';
        *p++ = e < 0 ? '-' : '+';
        if (exponentDigits < 2) {
            *p++ = '0';
        }
        const auto written = std::to_chars(p, first + length, e < 0 ? -e : e);
        return {written.ptr, std::errc()};
    }
    if (e < 0) {
        *p++ = '0';
        *p++ = '.';
        std::memset(p, '0', static_cast<std::size_t>(-e - 1));
        p += -e - 1;
        std::memcpy(p, d.digits, static_cast<std::size_t>(n));
        return {p + n, std::errc()};
    }
    if (e >= n - 1) {
        // An integer: of the texts of this length that read back as the
        // value, the one nearest to it is the value's exact decimal.
        const auto written = fmt::format_to_n(p, static_cast<std::size_t>(e + 1), "{:.0f}", std::fabs(value));
        return {written.out, std::errc()};
    }
    std::memcpy(p, d.digits, static_cast<std::size_t>(e + 1));
    p += e + 1;
    *p++ = '.';
    std::memcpy(p, d.digits + e + 1, static_cast<std::size_t>(n - e - 1));
    return {p + (n - e - 1), std::errc()};
}

std::to_chars_result WriteFixed(char* first, char* last, double value, int decimals) {
    const auto room = static_cast<std::size_t>(last - first);
    const auto written = fmt::format_to_n(first, room, "{:.{}f}", value, decimals);
    if (written.size > room) {
        return {last, std::errc::value_too_large};
    }
    return {written.out, std::errc()};
}

#endif

}  // namespace mirabo
