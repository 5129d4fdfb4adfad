// Zones: the tessellations of the decimal-logarithm axis that every tracked
// value is placed in.
//
// A boundary b stands for the magnitude 10^b. The boundary indices in use run
// from `first_index` to the last index of `boundaries`; a negative index -m
// reads the list mirrored, as the negated entry m. Each engine call builds its
// zone from the zone name, reads it and drops it; nothing is cached.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace kalvex::engine {

struct Zone {
  // In generation order, not necessarily sorted (the lucas list starts 2, 1).
  // Never empty: 20 or 24 entries.
  std::vector<double> boundaries;
  // The lowest index the interval search visits: 0, or -10 for lucas. Always
  // first_index <= last and -first_index < boundaries.size().
  std::int32_t first_index;
};

// "sinh", "linear_ev" and "linear_cfd", compared byte for byte, select their
// own boundary sets; every other name, "lucas" included, selects lucas_zone().
Zone zone_from_name(std::string_view name);

// The Lucas numbers L0..L19 as boundaries, first_index -10.
Zone lucas_zone();

// n boundaries evenly spaced from lo to hi, both ends exact.
std::vector<double> linear_boundaries(double lo, double hi, std::int32_t n);

// n boundaries from lo to hi on a logarithmic warp, densest towards hi.
std::vector<double> sinh_boundaries(double lo, double hi, std::int32_t n);

// The index of the last boundary. Inline, as every encoding searches the
// boundaries through it.
inline std::int32_t last_index(const Zone& zone) {
  return static_cast<std::int32_t>(zone.boundaries.size()) - 1;
}

// The boundary at index k, for first_index <= k <= last_index(zone).
inline double boundary_at(const Zone& zone, std::int32_t k) {
  if (k >= 0) return zone.boundaries[static_cast<std::size_t>(k)];
  // k > INT32_MIN here: first_index is never below -(size - 1).
  return -zone.boundaries[static_cast<std::size_t>(-k)];
}

}  // namespace kalvex::engine
