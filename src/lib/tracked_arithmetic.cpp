#include "tracked_arithmetic.hpp"

#include <cmath>

#include "math_calls.hpp"

namespace kalvex::engine {

namespace {

// The larger and the smaller of two logarithms, NaN when either is NaN.
// std::max/min would hand back one operand whenever a comparison with NaN
// fails, and fmax/fmin drop the NaN; either would turn 2 + NaN into 2.
struct Ordered {
  double larger;
  double smaller;
};
Ordered order_nan_aware(double x, double y) {
  if (std::isnan(x) || std::isnan(y)) {
    const double nan = x + y;
    return {nan, nan};
  }
  return x < y ? Ordered{y, x} : Ordered{x, y};
}

// encode(y) with the share the operands' drifts add to the fresh remainder.
TrackedValue encode_adding_drift(double y, double added, const Zone& zone) {
  TrackedValue r = encode_value(y, zone);
  r.drift = r.drift + added;
  return r;
}

TrackedValue zero_with_drift(double drift) {
  TrackedValue r = zero_value();
  r.drift = drift;
  return r;
}

}  // namespace

TrackedValue negated(TrackedValue b) {
  b.sign = -b.sign;
  return b;
}

TrackedValue tracked_add(const TrackedValue& a, const TrackedValue& b, const Zone& zone) {
  if (is_zero(a)) return b;
  if (is_zero(b)) return a;

  if (std::fabs(a.sign - b.sign) > 0.5) {
    const double y = decode_value(a, zone) + decode_value(b, zone);
    TrackedValue r = encode_value(y, zone);
    r.drift = a.drift + b.drift;
    return r;
  }

  const Ordered o = order_nan_aware(log_magnitude(a, zone), log_magnitude(b, zone));
  double t = cmath::pow(10.0, o.smaller - o.larger);
  t = t + 1.0;
  const double g = cmath::log10(t);
  const double y = cmath::pow(10.0, o.larger + g) * a.sign;
  TrackedValue r = encode_value(y, zone);
  r.drift = (a.drift + b.drift) + std::fabs(a.frac - b.frac) * 0.01;
  return r;
}

TrackedValue tracked_mul(const TrackedValue& a, const TrackedValue& b, const Zone& zone) {
  // No zero test: a zero operand has log_magnitude minus infinity, so y is 0.
  const double y =
      cmath::pow(10.0, log_magnitude(a, zone) + log_magnitude(b, zone)) * (a.sign * b.sign);
  return encode_adding_drift(y, (std::fabs(a.drift) + std::fabs(b.drift)) * 0.1, zone);
}

TrackedValue tracked_div(const TrackedValue& a, const TrackedValue& b, const Zone& zone) {
  // A quotient by zero is zero, neither infinite nor NaN.
  if (is_zero(b)) return zero_with_drift(0.0);
  const double y =
      cmath::pow(10.0, log_magnitude(a, zone) - log_magnitude(b, zone)) * (a.sign * b.sign);
  return encode_adding_drift(y, (std::fabs(a.drift) + std::fabs(b.drift)) * 0.1, zone);
}

TrackedValue tracked_powi(const TrackedValue& a, std::int32_t n, const Zone& zone) {
  const double s = n % 2 != 0 ? a.sign : 1.0;
  const double y = cmath::pow(10.0, static_cast<double>(n) * log_magnitude(a, zone)) * s;
  // |n| as an unsigned magnitude: -2147483648 has no signed absolute value.
  const std::uint32_t magnitude =
      n < 0 ? 0u - static_cast<std::uint32_t>(n) : static_cast<std::uint32_t>(n);
  return encode_adding_drift(y, (std::fabs(a.drift) * 0.1) * static_cast<double>(magnitude), zone);
}

TrackedValue tracked_pow(const TrackedValue& base, double e, const Zone& zone) {
  const double y = cmath::pow(10.0, e * log_magnitude(base, zone)) * base.sign;
  return encode_adding_drift(y, (std::fabs(base.drift) * 0.1) * std::fabs(e), zone);
}

TrackedValue tracked_sqrt(const TrackedValue& a, const Zone& zone) {
  if (a.sign < 0.0) return zero_with_drift(0.0);
  const double y = cmath::pow(10.0, log_magnitude(a, zone) * 0.5);
  return encode_adding_drift(y, std::fabs(a.drift) * 0.1, zone);
}

}  // namespace kalvex::engine
