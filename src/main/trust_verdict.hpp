// The trust verdict that every computed result reports, and its two limits.
#pragma once

#include <string_view>

namespace kalvex {

// The two exclusive upper limits of the trust verdict, in percent.
struct TrustThresholds {
  double precise_below;
  double drifting_below;
};
inline constexpr TrustThresholds trust_thresholds{0.5, 5.0};

// "ERROR" when value or uncertainty is not finite; else "PRECISE" below 0.5,
// "DRIFTING" below 5.0, otherwise "UNRELIABLE".
std::string_view trust_verdict(double value, double uncertainty_pct);

}  // namespace kalvex
