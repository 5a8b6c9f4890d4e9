/* acos and asin as fdlibm computes them, without newlib's error-reporting wrappers. */
#include "fdlibm.h"

/* The square root is correctly rounded in every C library (an instruction of
   WebAssembly): fdlibm's own would give the same bits. */
double __ieee754_sqrt(double x) { return sqrt(x); }

double acos(double x) { return __ieee754_acos(x); }

double asin(double x) { return __ieee754_asin(x); }
