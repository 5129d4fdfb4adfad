#include "tracked_value.hpp"

#include <cmath>
#include <limits>

#include "math_calls.hpp"

namespace kalvex::engine {

namespace {

// ln 10 as the nearest double.
constexpr double kLn10 = 2.302585092994046;

// floor(s) as a step count: negative and NaN give 0, anything too large for
// 32 bits gives the largest count. Converts only values that fit, so no
// out-of-range float-to-integer conversion can happen.
std::uint32_t saturating_step(double floored) {
  constexpr double kMax = 4294967295.0;
  if (!(floored > 0.0)) return 0;
  if (floored >= kMax) return std::numeric_limits<std::uint32_t>::max();
  return static_cast<std::uint32_t>(floored);
}

// Clamps to 0..1 and lets NaN through unchanged.
double clamp_unit(double q) {
  if (q < 0.0) return 0.0;
  if (q > 1.0) return 1.0;
  return q;
}

}  // namespace

TrackedValue encode_value(double x, const Zone& zone) {
  if (x == 0.0) return zero_value();
  const double sign = x < 0.0 ? -1.0 : 1.0;
  const double l = cmath::log10(std::fabs(x));

  // The first boundary above l, in index order. None is above an l at or past
  // the last boundary, nor an infinite or NaN one: those take the last interval.
  const std::int32_t off = zone.first_index;
  const std::int32_t last = last_index(zone);
  std::int32_t index = last;
  double lower = boundary_at(zone, last - 1);
  for (std::int32_t k = off; k <= last; ++k) {
    if (boundary_at(zone, k) > l) {
      index = k;
      lower = k > off ? boundary_at(zone, k - 1) : boundary_at(zone, off);
      break;
    }
  }

  const double upper = boundary_at(zone, index);
  const double width = upper - lower;
  // Below the first boundary the interval has no width: the value sits at 0.5.
  double frac = 0.5;
  if (width > 0.0 && std::isfinite(width)) frac = clamp_unit((l - lower) / width);

  const double s = frac * STEPS_PER_INTERVAL;
  const std::uint32_t step = saturating_step(cmath::floor(s));
  const double drift = s - static_cast<double>(step);
  return TrackedValue{sign, frac, drift, index, step};
}

double decode_value(const TrackedValue& v, const Zone& zone) {
  if (v.boundary_index == 0 && v.step == 0 && v.frac == 0.0) return 0.0;
  return cmath::pow(10.0, log_magnitude(v, zone)) * v.sign;
}

double log_magnitude(const TrackedValue& v, const Zone& zone) {
  if (is_zero(v)) return -std::numeric_limits<double>::infinity();
  const std::int32_t off = zone.first_index;
  const std::int32_t lo_k = v.boundary_index <= off ? off : v.boundary_index - 1;
  const double lo = boundary_at(zone, lo_k);
  const double hi = boundary_at(zone, v.boundary_index);
  return v.frac * (hi - lo) + lo;
}

double rel_uncertainty_pct(double drift) { return ((drift / STEPS_PER_INTERVAL) * kLn10) * 100.0; }

}  // namespace kalvex::engine
