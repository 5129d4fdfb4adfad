#include "tracked_value.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

#include "figure_bits.hpp"
#include "zone.hpp"

namespace kalvex::engine {
namespace {

using kalvex::testing::kInf;
using kalvex::testing::kNaN;
using kalvex::testing::SameBits;

constexpr std::string_view kZones[] = {"lucas", "sinh", "linear_ev", "linear_cfd"};

TEST(EncodeValue, FieldsAndDecodedValue) {
  struct Case {
    std::string_view zone;
    double x;
    double sign;
    double frac;
    double drift;
    std::int32_t boundary_index;
    std::uint32_t step;
    double decoded;
  };
  const Case cases[] = {
      // Inside an interval: the exact position is kept, the step count and the
      // left-over part of a step are recorded beside it.
      {"lucas", 1.0, 1.0, 0.3333333333333333, 0.33333333333325754, 0, 682, 1.0},
      // lucas boundary 2 reads its lower end from boundary 1 (value 1).
      {"lucas", 100.0, 1.0, 0.5, 0.5, 2, 1023, 100.0},
      // On a lower boundary: frac 0, yet an ordinary non-zero value.
      {"lucas", 1000.0, 1.0, 0.0, 0.0, 3, 0, 1000.0},
      {"sinh", 1e-10, 1.0, 0.0, 0.0, 1, 0, 1e-10},
      // In lucas log10|0.1| = -1 is the lower end of index 0: the zero value.
      {"lucas", 0.1, 1.0, 0.0, 0.0, 0, 0, 0.0},
      {"lucas", -0.1, -1.0, 0.0, 0.0, 0, 0, 0.0},
      // Below the first boundary: frac 0.5, decoding to the zone's floor.
      {"lucas", 1e-130, 1.0, 0.5, 0.5, -10, 1023, 1e-123},
      {"lucas", -1e-200, -1.0, 0.5, 0.5, -10, 1023, -1e-123},
      {"linear_ev", 0.001, 1.0, 0.5, 0.5, 0, 1023, 0.01},
      // At or above the last boundary: frac 1.0, decoding to the zone's ceiling.
      {"sinh", 1000.0, 1.0, 1.0, 0.0, 23, 2047, 100.0},
      {"linear_cfd", 1e300, 1.0, 1.0, 0.0, 19, 2047, 1000.0},
      {"lucas", kInf, 1.0, 1.0, 0.0, 19, 2047, kInf},
      {"sinh", kInf, 1.0, 1.0, 0.0, 23, 2047, 100.0},
      {"linear_ev", kInf, 1.0, 1.0, 0.0, 19, 2047, 100.0},
      {"linear_cfd", kInf, 1.0, 1.0, 0.0, 19, 2047, 1000.0},
      {"lucas", -kInf, -1.0, 1.0, 0.0, 19, 2047, -kInf},
      {"sinh", -kInf, -1.0, 1.0, 0.0, 23, 2047, -100.0},
      {"linear_ev", -kInf, -1.0, 1.0, 0.0, 19, 2047, -100.0},
      {"linear_cfd", -kInf, -1.0, 1.0, 0.0, 19, 2047, -1000.0},
      // NaN takes the last interval with frac and drift NaN and step 0.
      {"lucas", kNaN, 1.0, kNaN, kNaN, 19, 0, kNaN},
      {"sinh", kNaN, 1.0, kNaN, kNaN, 23, 0, kNaN},
      {"linear_ev", kNaN, 1.0, kNaN, kNaN, 19, 0, kNaN},
      {"linear_cfd", kNaN, 1.0, kNaN, kNaN, 19, 0, kNaN},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.zone << " x=" << kalvex::testing::digits17(c.x));
    const Zone zone = zone_from_name(c.zone);
    const TrackedValue v = encode_value(c.x, zone);
    EXPECT_TRUE(SameBits(c.sign, v.sign));
    EXPECT_TRUE(SameBits(c.frac, v.frac));
    EXPECT_TRUE(SameBits(c.drift, v.drift));
    EXPECT_EQ(c.boundary_index, v.boundary_index);
    EXPECT_EQ(c.step, v.step);
    EXPECT_TRUE(SameBits(c.decoded, decode_value(v, zone)));
  }
}

// Both zeros give the zero value in every zone; it decodes to +0.0 and its
// decimal logarithm is minus infinity.
TEST(EncodeValue, ZeroAndNegativeZero) {
  for (std::string_view name : kZones) {
    const Zone zone = zone_from_name(name);
    for (double x : {0.0, -0.0}) {
      SCOPED_TRACE(::testing::Message() << name << " x=" << x);
      const TrackedValue v = encode_value(x, zone);
      EXPECT_TRUE(SameBits(1.0, v.sign));
      EXPECT_TRUE(SameBits(0.0, v.frac));
      EXPECT_TRUE(SameBits(0.0, v.drift));
      EXPECT_EQ(0, v.boundary_index);
      EXPECT_EQ(0u, v.step);
      EXPECT_TRUE(is_zero(v));
      EXPECT_TRUE(SameBits(0.0, decode_value(v, zone)));
      EXPECT_TRUE(SameBits(-kInf, log_magnitude(v, zone)));
    }
  }
}

// Decoding follows the exact position, so encoding snaps nothing to a step;
// only the rounding of log10 and pow shows.
TEST(DecodeValue, RoundTrips) {
  struct Case {
    std::string_view zone;
    double x;
    double decoded;
  };
  const Case cases[] = {
      {"lucas", 1.0, 1.0},      {"lucas", 6.0, 6.0},
      {"lucas", 10.0, 10.0},    {"lucas", 2.0, 2.0000000000000004},
      {"sinh", 2.0, 2.0},       {"linear_ev", 2.0, 2.0},
      {"linear_cfd", 2.0, 2.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.zone << " x=" << c.x);
    const Zone zone = zone_from_name(c.zone);
    EXPECT_TRUE(SameBits(c.decoded, decode_value(encode_value(c.x, zone), zone)));
  }
}

TEST(LogMagnitude, ReadsTheIntervalTheEncodingUsed) {
  const Zone lucas = lucas_zone();
  // Boundary 2 of lucas takes boundary 1 as its lower end: 0.5 * (3 - 1) + 1.
  EXPECT_TRUE(SameBits(2.0, log_magnitude(encode_value(100.0, lucas), lucas)));
  // Below the first boundary both ends are boundary -10.
  EXPECT_TRUE(SameBits(-123.0, log_magnitude(encode_value(1e-130, lucas), lucas)));
  // 0.1 in lucas passes the zero test whatever its sign.
  EXPECT_TRUE(SameBits(-kInf, log_magnitude(encode_value(-0.1, lucas), lucas)));
}

TEST(RelUncertaintyPct, OneStepIsLn10Over2047) {
  struct Case {
    double drift;
    double pct;
  };
  const Case cases[] = {
      {0.0, 0.0},
      {0.5, 0.05624291873458832},
      {1.0, 0.11248583746917663},
      {-0.5, -0.05624291873458832},
      {kNaN, kNaN},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(SameBits(c.pct, rel_uncertainty_pct(c.drift))) << "drift " << c.drift;
  }
}

}  // namespace
}  // namespace kalvex::engine
