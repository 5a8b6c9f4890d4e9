// The sine, cosine, tangent, arc functions, square root and power the solvers call: the C++ library's, and on Windows newlib's (calc/newlib), so that every build writes the same digits.
#pragma once

#include <cmath>

#ifdef _WIN32
extern "C" {
double mirabo_newlib_sin(double);
double mirabo_newlib_cos(double);
double mirabo_newlib_tan(double);
double mirabo_newlib_asin(double);
double mirabo_newlib_acos(double);
double mirabo_newlib_atan(double);
double mirabo_newlib_sqrt(double);
double mirabo_newlib_pow(double, double);
}
#endif

namespace mirabo {

// On Windows the runtime's sine and cosine (x87 fsin and fcos) are thousands
// of units in the last place off next to multiples of 90 degrees and its
// square root is rounded twice; newlib's are within one unit of GNU libc's.
// Elsewhere the C++ library's, unchanged.
#ifdef _WIN32
inline double Sin(double x) { return mirabo_newlib_sin(x); }
inline double Cos(double x) { return mirabo_newlib_cos(x); }
inline double Tan(double x) { return mirabo_newlib_tan(x); }
inline double Asin(double x) { return mirabo_newlib_asin(x); }
inline double Acos(double x) { return mirabo_newlib_acos(x); }
inline double Atan(double x) { return mirabo_newlib_atan(x); }
inline double Sqrt(double x) { return mirabo_newlib_sqrt(x); }
inline double Pow(double x, double y) { return mirabo_newlib_pow(x, y); }
#else
inline double Sin(double x) { return std::sin(x); }
inline double Cos(double x) { return std::cos(x); }
inline double Tan(double x) { return std::tan(x); }
inline double Asin(double x) { return std::asin(x); }
inline double Acos(double x) { return std::acos(x); }
inline double Atan(double x) { return std::atan(x); }
inline double Sqrt(double x) { return std::sqrt(x); }
inline double Pow(double x, double y) { return std::pow(x, y); }
#endif

}  // namespace mirabo
