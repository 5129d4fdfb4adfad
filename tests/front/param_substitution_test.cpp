#include "param_substitution.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kalvex {
namespace {

TEST(ParamNumberText, EighteenSignificantDigitsWithABareExponent) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {2.99e8, "2.99000000000000000e8"},
      {1.0, "1.00000000000000000e0"},
      {-1.5, "-1.50000000000000000e0"},
      {0.1, "1.00000000000000006e-1"},
      {1e-7, "9.99999999999999955e-8"},
      {1.989e30, "1.98899999999999990e30"},
      {1e22, "1.00000000000000000e22"},
      {0.0, "0.00000000000000000e0"},
      {-0.0, "-0.00000000000000000e0"},
      {18446744073709551616.0, "1.84467440737095516e19"},
      {9007199254740992.0, "9.00719925474099200e15"},
      {std::numeric_limits<double>::max(), "1.79769313486231571e308"},
      {std::numeric_limits<double>::denorm_min(), "4.94065645841246544e-324"},
      // Exact ties in the 18th digit go to the even digit.
      {1.000003814697265625, "1.00000381469726562e0"},
      {1.000011444091796875, "1.00001144409179688e0"},
  };
  for (const Case& c : cases) EXPECT_EQ(param_number_text(c.value), c.text) << c.text;
}

TEST(SubstituteParams, ReplacesWholeIdentifiersOnly) {
  const ParamMap params = {{"D", 1.0}, {"C", 2.99e8}, {"x", 3.0}, {"k", 2.0}, {"sqrt", 4.0}};
  struct Case {
    const char* rhs;
    const char* substituted;
  };
  const Case cases[] = {
      {"D*C^2", "(1.00000000000000000e0)*(2.99000000000000000e8)^2"},
      {"DC + D2 + D_x + _D", "DC + D2 + D_x + _D"},
      {"2x", "2(3.00000000000000000e0)"},
      {"1.989e30*k", "1.989e30*(2.00000000000000000e0)"},
      {"sqrt(9)", "(4.00000000000000000e0)(9)"},
      {"-2*x", "-2*(3.00000000000000000e0)"},
      {"2*3 # r\xC3\xA9sum\xC3\xA9 x", "2*3 # r\xC3\xA9sum\xC3\xA9 (3.00000000000000000e0)"},
      {"", ""},
      {"x", "(3.00000000000000000e0)"},
  };
  for (const Case& c : cases) EXPECT_EQ(substitute_params(c.rhs, params), c.substituted) << c.rhs;
}

TEST(SubstituteParams, NumberExponentsAreIdentifiersToo) {
  // In 1e-5 the identifier is "e" (the minus ends it), in 2E+5 it is "E", and
  // in 1e5 it is "e5".
  const ParamMap e = {{"e", 2.0}};
  EXPECT_EQ(substitute_params("1e-5+2e+5+1e5", e),
            "1(2.00000000000000000e0)-5+2(2.00000000000000000e0)+5+1e5");
  const ParamMap e30 = {{"e30", 1.0}};
  EXPECT_EQ(substitute_params("1.989e30", e30), "1.989(1.00000000000000000e0)");
  // Names that are no identifier never match; case matters.
  const ParamMap odd = {{"x y", 1.0}, {"", 1.0}, {"2x", 1.0}, {"M", 2.0}};
  EXPECT_EQ(substitute_params("x y + 2x + m", odd), "x y + 2x + m");
}

}  // namespace
}  // namespace kalvex
