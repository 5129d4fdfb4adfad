#include <gtest/gtest.h>

#include <cmath>
#include <string_view>

#include "figure_bits.hpp"
#include "kalvex/engine.hpp"

namespace kalvex {
namespace {

using kalvex::testing::SameBits;

void expect_figures(std::string_view zone, double value, double drift, double error_pct) {
  SCOPED_TRACE(::testing::Message() << "zone \"" << zone << "\"");
  const ValidationFigures v = validate_hawking(zone);
  // The plain result, its error and the reference are fixed.
  EXPECT_TRUE(SameBits(6.168429712630829e-08, v.ieee754_value));
  EXPECT_TRUE(SameBits(0.023405931740617853, v.ieee754_error_pct));
  EXPECT_TRUE(SameBits(6.169873829087747e-08, v.reference));
  EXPECT_TRUE(SameBits(value, v.value)) << "value";
  EXPECT_TRUE(SameBits(drift, v.drift)) << "drift";
  EXPECT_TRUE(SameBits(error_pct, v.error_pct)) << "error_pct";
}

TEST(ValidateHawking, FiguresByZone) {
  expect_figures("lucas", 6.168429712630866e-08, 0.7493815974560012, 0.02340593174001723);
  // sinh and linear_cfd hold the temperature at the top of the zone.
  expect_figures("sinh", 100.0, 0.09830418461783895, 162077868540.60654);
  expect_figures("linear_ev", 3.9788735772973833, 0.27079847080209035, 6448873389.987855);
  expect_figures("linear_cfd", 1000.0, 0.09743559741709432, 1620778686306.0654);
  // Names outside the zone table select lucas.
  for (std::string_view zone : {"", "LUCAS", "Sinh", "unknown"}) {
    expect_figures(zone, 6.168429712630866e-08, 0.7493815974560012, 0.02340593174001723);
  }
}

// The plain fixed entries are what the plain grouping gives, and the plain
// error is worked out from them in the tracked error's order.
TEST(ValidateHawking, FixedEntriesMatchTheirGrouping) {
  const double hbar = 1.054571817e-34, c = 299792458.0, eight_pi = 25.132741228718345,
               g = 6.6743e-11, m = 1.989e30, kb = 1.380649e-23;
  const double plain = (hbar * ((c * c) * c)) / (((eight_pi * g) * m) * kb);
  const ValidationFigures v = validate_hawking("lucas");
  EXPECT_TRUE(SameBits(plain, v.ieee754_value));
  EXPECT_TRUE(
      SameBits((std::fabs(plain - v.reference) / v.reference) * 100.0, v.ieee754_error_pct));
  // The same temperature from the formula catalogue.
  const double mass[] = {1.989e30};
  EXPECT_TRUE(SameBits(plain, compute_domain("hawking", mass, "lucas").ieee754));
}

}  // namespace
}  // namespace kalvex
