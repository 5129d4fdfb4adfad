// Writing expression parameters into the text of a right-hand side.
#pragma once

#include <string>
#include <string_view>

#include "param_map.hpp"

namespace kalvex {

// A parameter's value as written into an expression: 18 significant digits,
// which always read back to the same double, as one digit, ".", 17 digits
// (trailing zeros kept), "e" and the decimal exponent without plus sign or
// leading zeros. "-" leads whenever the sign bit is set, negative zero
// included: -1.5 gives "-1.50000000000000000e0", 0.1 "1.00000000000000006e-1".
// `value` is finite.
std::string param_number_text(double value);

// The right-hand side with every identifier (an ASCII letter or "_", then ASCII
// letters, digits and "_") that names a parameter replaced by "(" + its number
// text + ")". Every other byte, and every identifier that names no parameter,
// stays as it is; so the exponent "e30" of 1.989e30 is an identifier too.
std::string substitute_params(std::string_view rhs, const ParamMap& params);

}  // namespace kalvex
