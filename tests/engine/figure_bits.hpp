// Bit-exact comparison of the engine's figures.
#pragma once

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace kalvex::testing {

inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
inline constexpr double kInf = std::numeric_limits<double>::infinity();

// 17 significant digits: enough to tell any two doubles apart.
inline std::string digits17(double x) {
  char buf[40];
  const auto end = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, 17).ptr;
  return std::string(buf, end);
}

// Equal bit patterns (so 0.0 and -0.0 differ), except that every NaN matches
// every NaN.
inline ::testing::AssertionResult SameBits(double expected, double actual) {
  if (std::isnan(expected) && std::isnan(actual)) return ::testing::AssertionSuccess();
  if (std::bit_cast<std::uint64_t>(expected) == std::bit_cast<std::uint64_t>(actual)) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "expected " << digits17(expected) << ", got " << digits17(actual);
}

}  // namespace kalvex::testing
