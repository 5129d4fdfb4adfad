// The names of the expression language: constants that a bare name stands for
// and functions that a name followed by "(" calls. Names match byte for byte,
// case-sensitively: Sin, LOG, E and Pi are unknown.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "tracked_value.hpp"
#include "zone.hpp"

namespace kalvex::engine {

struct BuiltinConstant {
  std::string_view name;
  double value;
};

// The 23 constants (SI units). `e` is the elementary charge, not Euler's
// number; `phi` is the golden ratio to ten decimals.
std::span<const BuiltinConstant> builtin_constants();

// The value of a constant, or nothing for a name that is not one.
std::optional<double> find_constant(std::string_view name);

// One function of the language: y from the decoded first argument x (and p,
// the decoded second argument or 1.0, read by pow alone), and the drift that
// replaces the fresh remainder of y's encoding, from x, the first argument's
// drift d and p.
struct BuiltinFunction {
  std::string_view name;
  double (*value)(double x, double p);
  double (*drift)(double x, double d, double p);
};

// The 14 functions.
std::span<const BuiltinFunction> builtin_functions();

// Evaluates the call `name(first[, second])` in the zone. Fails (nothing) only
// for a name that is not a function; a NaN or infinite result is a value.
std::optional<TrackedValue> apply_function(std::string_view name, const TrackedValue& first,
                                           const std::optional<TrackedValue>& second,
                                           const Zone& zone);

}  // namespace kalvex::engine
