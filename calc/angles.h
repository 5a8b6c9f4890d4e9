// The program's one value of pi and the angle conversions built on it.
#pragma once

namespace mirabo {

// Used in place of pi, not as an approximation a finer constant may replace:
// every result that passes through an angle conversion carries its error.
constexpr double PI_APPROX = 3.141592654;

// PI_APPROX / (180 / degrees): two divisions in this order. 0 passes through
// +infinity and comes out as 0.
double DegreesToRadians(double degrees);

// 180 / (PI_APPROX / radians).
double RadiansToDegrees(double radians);

}  // namespace mirabo
