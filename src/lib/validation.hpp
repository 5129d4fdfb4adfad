// The built-in check of the tracked arithmetic: the Hawking temperature of a
// black hole of one solar mass, computed drift-tracked and compared with a
// high-precision reference. The entry point is kalvex::validate_hawking
// (kalvex/engine.hpp); this header holds its fixed figures.
#pragma once

namespace kalvex::engine {

// (hbar * ((c * c) * c)) / (((8pi * G) * M) * k_B) in plain doubles.
inline constexpr double kHawkingIeee754 = 6.168429712630829e-08;
// (|kHawkingIeee754 - reference| / reference) * 100.
inline constexpr double kHawkingIeee754ErrorPct = 0.023405931740617853;
// The temperature in kelvin to full double precision, from a 256-bit
// evaluation.
inline constexpr double kHawkingReference = 6.169873829087747e-08;

}  // namespace kalvex::engine
