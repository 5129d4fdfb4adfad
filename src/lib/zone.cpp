#include "zone.hpp"

#include <cstddef>

#include "math_calls.hpp"

namespace kalvex::engine {

namespace {

// sinh(3) and ln(1 + sinh(3)) as the nearest doubles. Stored rather than
// computed so the boundaries do not depend on the math library's sinh.
constexpr double kSinhK = 10.017874927409903;
constexpr double kSinhD = 2.3995189473260745;

}  // namespace

Zone zone_from_name(std::string_view name) {
  if (name == "sinh") return Zone{sinh_boundaries(-10.0, 2.0, 24), 0};
  if (name == "linear_ev") return Zone{linear_boundaries(-2.0, 2.0, 20), 0};
  if (name == "linear_cfd") return Zone{linear_boundaries(-6.0, 3.0, 20), 0};
  return lucas_zone();
}

Zone lucas_zone() {
  return Zone{
      {2, 1, 3, 4, 7, 11, 18, 29, 47, 76, 123, 199, 322, 521, 843, 1364, 2207, 3571, 5778, 9349},
      -10};
}

std::vector<double> linear_boundaries(double lo, double hi, std::int32_t n) {
  std::vector<double> out;
  out.reserve(static_cast<std::size_t>(n));
  const double intervals = static_cast<double>(n - 1);
  for (std::int32_t i = 0; i < n; ++i) {
    // The grouping fixes the last bits: ((hi - lo) * i) / (n - 1), then + lo.
    const double d = hi - lo;
    double t = d * static_cast<double>(i);
    t = t / intervals;
    out.push_back(t + lo);
  }
  return out;
}

std::vector<double> sinh_boundaries(double lo, double hi, std::int32_t n) {
  std::vector<double> out;
  out.reserve(static_cast<std::size_t>(n));
  const double intervals = static_cast<double>(n - 1);
  for (std::int32_t i = 0; i < n; ++i) {
    const double u = static_cast<double>(i) / intervals;
    const double v = u * kSinhK + 1.0;
    const double w = cmath::log(v) / kSinhD;
    out.push_back((hi - lo) * w + lo);
  }
  return out;
}

}  // namespace kalvex::engine
