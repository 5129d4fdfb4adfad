#include "tracked_arithmetic.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

#include "figure_bits.hpp"
#include "tracked_value.hpp"
#include "zone.hpp"

namespace kalvex::engine {
namespace {

using kalvex::testing::kInf;
using kalvex::testing::kNaN;
using kalvex::testing::SameBits;

struct Row {
  const char* what;
  TrackedValue result;
  double decoded;
  std::optional<double> drift;  // unchecked when absent
};

void check_rows(const std::vector<Row>& rows, const Zone& zone) {
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_TRUE(SameBits(r.decoded, decode_value(r.result, zone)));
    if (r.drift) {
      EXPECT_TRUE(SameBits(*r.drift, r.result.drift));
    }
  }
}

TEST(TrackedArithmetic, LucasCases) {
  const Zone z = lucas_zone();
  auto E = [&](double x) { return encode_value(x, z); };
  const TrackedValue two = E(2.0);
  const TrackedValue five = E(5.0);
  const TrackedValue zero = E(0.0);
  const TrackedValue nan = E(kNaN);
  const TrackedValue cancelled = tracked_add(five, negated(five), z);
  const double d1 = E(1.0).drift;
  const TrackedValue seven = E(7.0);
  const TrackedValue thirty = E(30.0);
  // Negative drifts, as a negative parameter of a formula gives its inputs.
  auto with_drift = [](TrackedValue v, double drift) {
    v.drift = drift;
    return v;
  };
  const TrackedValue seven_minus = with_drift(seven, -0.25);
  const TrackedValue thirty_minus = with_drift(thirty, -2.0);

  check_rows(
      {
          // 0.1 encodes to the zero value in lucas, so it acts as zero.
          {"0.1 + 2", tracked_add(E(0.1), two, z), 2.0000000000000004, two.drift},
          {"2 + 0.1", tracked_add(two, E(0.1), z), 2.0000000000000004, two.drift},
          {"5 / 0.1", tracked_div(five, E(0.1), z), 0.0, 0.0},
          // An exact cancellation is the zero value carrying both drifts.
          {"5 - 5", cancelled, 0.0, five.drift + five.drift},
          // Unequal drifts and fracs: a regrouped same-sign drift shows in its
          // last bit, a frac term in the opposite-sign drift at once.
          {"7 + 30", tracked_add(seven, thirty, z), 37.0,
           (seven.drift + thirty.drift) + std::fabs(seven.frac - thirty.frac) * 0.01},
          {"7 - 30", tracked_add(seven, negated(thirty), z), -23.00000000000001,
           seven.drift + thirty.drift},
          // Products, quotients, powers and roots add a share of the drifts'
          // magnitudes to the fresh remainder, whatever the drifts' signs;
          // sums add the drifts as they are.
          {"7 * 30, drifts -0.25 and -2", tracked_mul(seven_minus, thirty_minus, z),
           210.0000000000001, 0.5164481601667376},
          {"7 * 30, drift -0.25", tracked_mul(seven_minus, thirty, z), 210.0000000000001,
           0.3386884405383853},
          {"7 * 30, drift -2", tracked_mul(seven, thirty_minus, z), 210.0000000000001,
           0.5886377571395315},
          {"7 / 30, drifts -0.25 and -2", tracked_div(seven_minus, thirty_minus, z),
           0.23333333333333328, 0.3078264993448613},
          {"7 / 30, drift -0.25", tracked_div(seven_minus, thirty, z), 0.23333333333333328,
           0.130066779716509},
          {"7 / 30, drift -2", tracked_div(seven, thirty_minus, z), 0.23333333333333328,
           0.3800160963176552},
          {"powi(7, 3), drift -0.25", tracked_powi(seven_minus, 3, z), 343.0000000000002,
           0.44853186377595194},
          {"powi(7, -2), drift -0.25", tracked_powi(seven_minus, -2, z), 0.020408163265306114,
           0.6343120908161837},
          {"pow(7, 0.5), drift -0.25", tracked_pow(seven_minus, 0.5, z), 2.6457513110645907,
           0.6651146515307118},
          {"sqrt(7), drift -0.25", tracked_sqrt(seven_minus, z), 2.6457513110645907,
           0.6776146515307119},
          {"7 + 30, drifts -0.25 and -2", tracked_add(seven_minus, thirty_minus, z), 37.0,
           -2.247893255950982},
          {"7 - 30, drifts -0.25 and -2", tracked_add(seven_minus, negated(thirty_minus), z),
           -23.00000000000001, -2.25},
          {"5 / 0", tracked_div(five, zero, z), 0.0, 0.0},
          {"0 / 5", tracked_div(zero, five, z), 0.0, five.drift * 0.1},
          {"0 * 5", tracked_mul(zero, five, z), 0.0, five.drift * 0.1},
          {"powi(5, 0)", tracked_powi(five, 0, z), 1.0, d1},
          {"powi(0, 0)", tracked_powi(zero, 0, z), kNaN, kNaN},  // 0 * -inf
          {"powi(0, 2)", tracked_powi(zero, 2, z), 0.0, 0.0},
          {"powi(0, -1)", tracked_powi(zero, -1, z), kInf, 0.0},
          // |INT_MIN| taken as an unsigned magnitude, without overflow.
          {"powi(1, INT_MIN)", tracked_powi(E(1.0), std::numeric_limits<std::int32_t>::min(), z),
           1.0, d1 + (d1 * 0.1) * 2147483648.0},
          // Even whole powers lose the sign; the general power keeps it.
          {"powi(-2, 2)", tracked_powi(E(-2.0), 2, z), 4.000000000000001, std::nullopt},
          {"pow(-2, 2.0000000000000004)", tracked_pow(E(-2.0), 2.0000000000000004, z),
           -4.000000000000001, std::nullopt},
          {"sqrt(-4)", tracked_sqrt(E(-4.0), z), 0.0, 0.0},
          {"sqrt(5 - 5)", tracked_sqrt(cancelled, z), 0.0, cancelled.drift * 0.1},
          // NaN reaches the result from either side of a sum.
          {"2 + NaN", tracked_add(two, nan, z), kNaN, kNaN},
          {"NaN + 2", tracked_add(nan, two, z), kNaN, kNaN},
          {"NaN * 2", tracked_mul(nan, two, z), kNaN, kNaN},
          {"2 - NaN", tracked_add(two, negated(nan), z), kNaN, std::nullopt},
      },
      z);
  EXPECT_TRUE(is_zero(cancelled));
  EXPECT_TRUE(is_zero(tracked_div(five, zero, z)));
  EXPECT_TRUE(is_zero(tracked_sqrt(E(-4.0), z)));
}

TEST(TrackedArithmetic, SaturatingZones) {
  const Zone z = zone_from_name("sinh");
  auto E = [&](double x) { return encode_value(x, z); };
  check_rows(
      {
          {"60 + 60 is held at the top of sinh", tracked_add(E(60.0), E(60.0), z), 100.0,
           std::nullopt},
          {"powi(0, -1)", tracked_powi(E(0.0), -1, z), 100.0, 0.0},
          {"pow(-2, 1000)", tracked_pow(E(-2.0), 1000.0, z), -100.0, std::nullopt},
      },
      z);
  for (std::string_view name : {"sinh", "linear_ev", "linear_cfd"}) {
    SCOPED_TRACE(name);
    const Zone zone = zone_from_name(name);
    EXPECT_TRUE(SameBits(4.0, decode_value(tracked_powi(encode_value(-2.0, zone), 2, zone), zone)));
  }
}

// Worked examples known only to a few digits.
TEST(TrackedArithmetic, ApproximateResults) {
  const Zone lucas = lucas_zone();
  const Zone sinh = zone_from_name("sinh");
  struct Case {
    const char* what;
    const Zone& zone;
    TrackedValue result;
    double value;
    double relative_tolerance;
  };
  auto L = [&](double x) { return encode_value(x, lucas); };
  auto S = [&](double x) { return encode_value(x, sinh); };
  const Case cases[] = {
      // 1000 lies on a lower boundary (frac 0) and is an ordinary operand.
      {"1000 + 1", lucas, tracked_add(L(1000.0), L(1.0), lucas), 1001.0, 1e-12},
      {"7 / 1000", lucas, tracked_div(L(7.0), L(1000.0), lucas), 7e-3, 1e-12},
      {"powi(-2, 3) keeps the sign", lucas, tracked_powi(L(-2.0), 3, lucas), -8.0, 1e-12},
      {"pow(-4, 0.5)", lucas, tracked_pow(L(-4.0), 0.5, lucas), -2.0, 1e-12},
      {"pow(-2, 1000)", lucas, tracked_pow(L(-2.0), 1000.0, lucas), -1.0715086071862673e301, 1e-9},
      // 1000 was saturated to 100 when it was encoded.
      {"7 / 1000 in sinh", sinh, tracked_div(S(7.0), S(1000.0), sinh), 0.07, 1e-12},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const double v = decode_value(c.result, c.zone);
    EXPECT_NEAR(v, c.value, std::fabs(c.value) * c.relative_tolerance);
  }
  // The same-sign sum's drift: the operands' drifts plus a hundredth of their
  // frac difference (0 for 1000, 1/3 for 1).
  EXPECT_NEAR(tracked_add(L(1000.0), L(1.0), lucas).drift, 0.33333333333325754 + 0.0033333333333,
              1e-12);
}

}  // namespace
}  // namespace kalvex::engine
