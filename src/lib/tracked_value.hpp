// The drift-tracked number and its passage to and from doubles.
//
// A tracked value holds log10 of its magnitude as an interval of its zone (the
// boundary at the interval's upper end) and the exact position inside it. The
// position is also counted in whole quantisation steps; the part of a step
// left over is the value's starting drift, which the operations then grow.
// A tracked value means something only together with the zone it was encoded
// in.
#pragma once

#include <cstdint>

#include "zone.hpp"

namespace kalvex::engine {

// Quantisation steps per interval (2047, not 2048).
inline constexpr double STEPS_PER_INTERVAL = 2047.0;

struct TrackedValue {
  double sign;  // +1.0 or -1.0; an encoded NaN has +1.0
  // Position of log10|x| in its interval, 0.0 (lower end) to 1.0 (upper end).
  // 0.5 below the zone's first boundary, NaN for an encoded NaN.
  double frac;
  // Accumulated drift in quantisation steps. Fresh from an encoding it is the
  // sub-step remainder, 0.0 up to 1.0; operations and callers may make it
  // anything, negative and NaN included.
  double drift;
  // Index of the boundary at the interval's upper end, first_index..last.
  std::int32_t boundary_index;
  // floor(frac * 2047), 0 for NaN. Records whole steps only; nothing but the
  // zero test of decode_value reads it.
  std::uint32_t step;
};

// The number 0: sign +1.0, every other field 0.
constexpr TrackedValue zero_value() { return TrackedValue{1.0, 0.0, 0.0, 0, 0}; }

// The zero test shared by decoding, log_magnitude, sums and quotients: index 0
// at frac 0.0, whatever the sign and drift. In lucas 0.1 encodes to this too.
constexpr bool is_zero(const TrackedValue& v) { return v.boundary_index == 0 && v.frac == 0.0; }

// Places x in the zone. 0.0 and -0.0 give zero_value(); magnitudes beyond the
// zone's first or last boundary saturate there; NaN gives frac and drift NaN.
TrackedValue encode_value(double x, const Zone& zone);

// The double a tracked value stands for: 0.0 for the zero value, otherwise
// sign * 10^log_magnitude.
double decode_value(const TrackedValue& v, const Zone& zone);

// log10 of the magnitude; minus infinity for a value that passes the zero test.
double log_magnitude(const TrackedValue& v, const Zone& zone);

// Drift as a relative uncertainty in percent: one step is ln 10 / 2047.
double rel_uncertainty_pct(double drift);

}  // namespace kalvex::engine
