#include "calc/angles.h"

namespace mirabo {

double DegreesToRadians(double degrees) { return PI_APPROX / (180.0 / degrees); }

double RadiansToDegrees(double radians) { return 180.0 / (PI_APPROX / radians); }

}  // namespace mirabo
