// Doubles to and from text, and the library pieces some builds' C++ library lacks: one place for all builds.
#pragma once

#include <charconv>
#include <cstddef>
#include <memory>
#include <type_traits>
#if __has_include(<version>)
#include <version>
#endif
#if defined(__cpp_lib_bit_cast)
#include <bit>
#endif

namespace mirabo {

// Reads a double as std::from_chars does in the general format: the longest
// decimal number at the start of [first, last), "inf" and "nan" too, no
// leading "+", correctly rounded. A number outside the range of doubles gives
// std::errc::result_out_of_range and leaves the value as it was, as does a
// text that is not a number (std::errc::invalid_argument, ptr == first).
std::from_chars_result ReadDouble(const char* first, const char* last, double& value);

// Writes the shortest text that reads back as the same double, as
// std::to_chars(first, last, value) does: fixed or exponent form, whichever is
// shorter (fixed on a tie), "inf", "-inf", "nan", "-nan". Without room it
// gives std::errc::value_too_large and ptr == last.
std::to_chars_result WriteShortest(char* first, char* last, double value);

// Writes the value in fixed form with the given number of decimals, exactly
// rounded, as std::to_chars(first, last, value, std::chars_format::fixed,
// decimals) does.
std::to_chars_result WriteFixed(char* first, char* last, double value, int decimals);

// The object representation of one type read as another of the same size.
template <class To, class From>
constexpr To BitCast(const From& from) noexcept {
    static_assert(sizeof(To) == sizeof(From) && std::is_trivially_copyable_v<To> &&
                  std::is_trivially_copyable_v<From>);
#if defined(__cpp_lib_bit_cast)
    return std::bit_cast<To>(from);
#else
    return __builtin_bit_cast(To, from);
#endif
}

// An array of count default-initialised elements (left unset for char), for a
// buffer that is written before it is read.
template <class T>
std::unique_ptr<T[]> MakeBufferForOverwrite(std::size_t count) {
#if defined(__cpp_lib_smart_ptr_for_overwrite)
    return std::make_unique_for_overwrite<T[]>(count);
#else
    return std::unique_ptr<T[]>(new T[count]);
#endif
}

}  // namespace mirabo
