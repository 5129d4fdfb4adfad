#include "trust_verdict.hpp"

#include <cmath>

namespace kalvex {

std::string_view trust_verdict(double value, double uncertainty_pct) {
  if (!std::isfinite(value) || !std::isfinite(uncertainty_pct)) return "ERROR";
  if (uncertainty_pct < trust_thresholds.precise_below) return "PRECISE";
  if (uncertainty_pct < trust_thresholds.drifting_below) return "DRIFTING";
  return "UNRELIABLE";
}

}  // namespace kalvex
