// Operations on tracked values. Each works on the decimal logarithms of the
// magnitudes (the sum of opposite signs on the decoded doubles), encodes its
// result afresh in the zone and then sets the result's drift by a rule of its
// own; the rules, with their order of evaluation, are the engine's uncertainty
// model. Operands are only read; all of them and the result belong to `zone`.
// No operation fails: quotients by zero and square roots of negative values
// give the zero value, and NaN travels through every later operation.
#pragma once

#include <cstdint>

#include "tracked_value.hpp"
#include "zone.hpp"

namespace kalvex::engine {

// a + b. The result's drift replaces the fresh remainder by the operands'
// drifts (plus a share of their frac difference for equal signs). An operand
// that passes the zero test leaves the other one unchanged. The difference
// a - b is tracked_add(a, negated(b), zone).
TrackedValue tracked_add(const TrackedValue& a, const TrackedValue& b, const Zone& zone);

// b with its sign flipped and every other field, drift included, unchanged.
TrackedValue negated(TrackedValue b);

// a * b; drift = fresh + (|a.drift| + |b.drift|) * 0.1.
TrackedValue tracked_mul(const TrackedValue& a, const TrackedValue& b, const Zone& zone);

// a / b, same drift rule; a divisor that passes the zero test gives the zero
// value with drift 0.0.
TrackedValue tracked_div(const TrackedValue& a, const TrackedValue& b, const Zone& zone);

// a^n; odd n keep a's sign, even n give a positive result.
// drift = fresh + (|a.drift| * 0.1) * |n|.
TrackedValue tracked_powi(const TrackedValue& a, std::int32_t n, const Zone& zone);

// base^e for any e the integer power does not take (a fraction, |e| >= 1000,
// infinities, NaN). The result keeps the base's sign.
// drift = fresh + (|base.drift| * 0.1) * |e|.
TrackedValue tracked_pow(const TrackedValue& base, double e, const Zone& zone);

// The square root; a negative operand gives the zero value with drift 0.0.
// drift = fresh + |a.drift| * 0.1.
TrackedValue tracked_sqrt(const TrackedValue& a, const Zone& zone);

}  // namespace kalvex::engine
