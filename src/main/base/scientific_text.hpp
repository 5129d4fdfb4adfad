// Scientific notation with a fixed number of decimals and a bare exponent, the
// form shared by substituted parameters and the validation report.
#pragma once

#include <string>

namespace kalvex {

// One digit, ".", `decimals` digits (correctly rounded from the exact double,
// ties to even, trailing zeros kept), "e", "-" for a negative exponent, and the
// exponent's magnitude without leading zeros: 2.99e8 with 6 decimals gives
// "2.990000e8", 0.0 gives "0.000000e0". A set sign bit gives a leading "-".
// `value` is finite.
std::string scientific_text(double value, int decimals);

}  // namespace kalvex
