#include "zone.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

#include "figure_bits.hpp"

namespace kalvex::engine {
namespace {

using kalvex::testing::SameBits;

TEST(ZoneFromName, SelectsByExactName) {
  struct Case {
    std::string_view name;
    std::size_t size;
    std::int32_t first_index;
    double last_boundary;
  };
  const Case cases[] = {
      {"sinh", 24, 0, 2.0},
      {"linear_ev", 20, 0, 2.0},
      {"linear_cfd", 20, 0, 3.0},
      // Everything else is lucas, near misses included.
      {"lucas", 20, -10, 9349.0},
      {"", 20, -10, 9349.0},
      {"LUCAS", 20, -10, 9349.0},
      {"Sinh", 20, -10, 9349.0},
      {" sinh", 20, -10, 9349.0},
      {"sinh ", 20, -10, 9349.0},
      {"linear", 20, -10, 9349.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Zone zone = zone_from_name(c.name);
    EXPECT_EQ(zone.boundaries.size(), c.size);
    EXPECT_EQ(zone.first_index, c.first_index);
    EXPECT_TRUE(SameBits(c.last_boundary, boundary_at(zone, last_index(zone))));
  }
}

TEST(BoundaryAt, ReadsDirectlyOrMirrored) {
  struct Case {
    std::string_view zone;
    std::int32_t k;
    double boundary;
  };
  const Case cases[] = {
      // lucas: index 0 is 2 and lies above index 1; negative indices mirror.
      {"lucas", -10, -123.0},
      {"lucas", -1, -1.0},
      {"lucas", 0, 2.0},
      {"lucas", 1, 1.0},
      {"lucas", 2, 3.0},
      {"lucas", 19, 9349.0},
      {"sinh", 0, -10.0},
      {"sinh", 23, 2.0},
      // The evaluation order ((hi - lo) * i) / (n - 1) + lo fixes these bits.
      {"linear_ev", 0, -2.0},
      {"linear_ev", 9, -0.10526315789473695},
      {"linear_ev", 10, 0.10526315789473673},
      {"linear_ev", 19, 2.0},
      {"linear_cfd", 0, -6.0},
      {"linear_cfd", 19, 3.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.zone << " k=" << c.k);
    EXPECT_TRUE(SameBits(c.boundary, boundary_at(zone_from_name(c.zone), c.k)));
  }
}

// The generated zones rise strictly; sinh is densest towards its top.
TEST(GeneratedBoundaries, IncreaseAndSinhNarrowsUpwards) {
  for (std::string_view name : {"sinh", "linear_ev", "linear_cfd"}) {
    SCOPED_TRACE(name);
    const Zone zone = zone_from_name(name);
    for (std::size_t i = 1; i < zone.boundaries.size(); ++i) {
      EXPECT_LT(zone.boundaries[i - 1], zone.boundaries[i]);
    }
  }
  const Zone sinh = zone_from_name("sinh");
  EXPECT_NEAR(sinh.boundaries[1] - sinh.boundaries[0], 1.81, 0.01);
  EXPECT_NEAR(sinh.boundaries[23] - sinh.boundaries[22], 0.20, 0.01);
}

}  // namespace
}  // namespace kalvex::engine
