// The names of the expression language: constants that a bare name stands for
// and functions that a name followed by "(" calls. Names match byte for byte,
// case-sensitively: Sin, LOG, E and Pi are unknown.
#pragma once

#include <optional>
#include <string_view>

#include "tracked_value.hpp"
#include "zone.hpp"

namespace kalvex::engine {

// The value of a constant (SI units), or nothing for a name that is not one.
// `e` is the elementary charge, not Euler's number; `phi` is the golden ratio
// to ten decimals.
std::optional<double> find_constant(std::string_view name);

// Evaluates the call `name(first[, second])` in the zone: ln, log, log10,
// log2, exp, sqrt, abs, sin, cos, tan, floor, ceil, round and pow, each with a
// drift of its own that replaces the fresh remainder of the result's encoding.
// Fails (nothing) only for a name that is not a function; a NaN or infinite
// result is a value.
std::optional<TrackedValue> apply_function(std::string_view name, const TrackedValue& first,
                                           const std::optional<TrackedValue>& second,
                                           const Zone& zone);

}  // namespace kalvex::engine
