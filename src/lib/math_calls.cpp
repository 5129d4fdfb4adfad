// Compiled with -fno-builtin (see CMakeLists.txt): each function below must be
// a real call into the math library, never a compile-time constant or an
// inline expansion chosen by the optimiser.
#include "math_calls.hpp"

#include <math.h>

namespace kalvex::engine::cmath {

double log10(double x) { return ::log10(x); }
double log(double x) { return ::log(x); }
double log2(double x) { return ::log2(x); }
double exp(double x) { return ::exp(x); }
double pow(double x, double y) { return ::pow(x, y); }
double sin(double x) { return ::sin(x); }
double cos(double x) { return ::cos(x); }
double tan(double x) { return ::tan(x); }
double floor(double x) { return ::floor(x); }
double ceil(double x) { return ::ceil(x); }
double round(double x) { return ::round(x); }
double trunc(double x) { return ::trunc(x); }
double sqrt(double x) { return ::sqrt(x); }

}  // namespace kalvex::engine::cmath
