// The C math library functions the engine computes with.
//
// Every figure the engine reports is checked to the last bit, and the last bit
// of most of them is decided by log10 and pow. A compiler that sees such a call
// on a constant may fold it at compile time with its own, differently rounded
// arithmetic, so that an optimised build would report other figures than a
// debug one. These wrappers are defined out of line, in a file compiled without
// builtins, so every call reaches the math library at run time.
#pragma once

namespace kalvex::engine::cmath {

double log10(double x);
double log(double x);
double log2(double x);
double exp(double x);
double pow(double x, double y);
double sin(double x);
double cos(double x);
double tan(double x);
double floor(double x);
double ceil(double x);
double round(double x);  // halves away from zero
double trunc(double x);
double sqrt(double x);  // the IEEE-754 square root, NaN below zero

}  // namespace kalvex::engine::cmath
