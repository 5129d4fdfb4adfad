#include "validation.hpp"

#include <cmath>

#include "kalvex/engine.hpp"
#include "physical_constants.hpp"
#include "tracked_arithmetic.hpp"
#include "tracked_value.hpp"
#include "zone.hpp"

namespace kalvex {

ValidationFigures validate_hawking(std::string_view zone_name) {
  using namespace engine;
  const Zone zone = zone_from_name(zone_name);
  // Every constant enters through its encoding and keeps that drift.
  const TrackedValue c = encode_value(kC, zone);
  const TrackedValue c2 = tracked_mul(c, c, zone);
  const TrackedValue c3 = tracked_mul(c2, encode_value(kC, zone), zone);
  const TrackedValue num = tracked_mul(encode_value(kHbar, zone), c3, zone);

  const TrackedValue d1 = tracked_mul(encode_value(k8Pi, zone), encode_value(kG, zone), zone);
  const TrackedValue d2 = tracked_mul(d1, encode_value(kSolarMass, zone), zone);
  const TrackedValue den = tracked_mul(d2, encode_value(kKb, zone), zone);

  const TrackedValue r = tracked_div(num, den, zone);
  const double v = decode_value(r, zone);
  const double err = (std::fabs(v - kHawkingReference) / kHawkingReference) * 100.0;
  return {kHawkingIeee754, v, r.drift, kHawkingIeee754ErrorPct, err, kHawkingReference};
}

}  // namespace kalvex
