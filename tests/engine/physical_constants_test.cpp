#include "physical_constants.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string_view>

#include "builtins.hpp"
#include "figure_bits.hpp"

namespace kalvex::engine {
namespace {

using kalvex::testing::kInf;
using kalvex::testing::SameBits;

// The products the formulas and the validation use as single constants. Their
// last bits follow from the grouping they are formed in; these are the doubles
// the figures were fixed with, so a regrouping shows here first.
TEST(PhysicalConstants, DerivedProductsKeepTheirBits) {
  struct Case {
    const char* what;
    double actual;
    double expected;
  };
  const Case cases[] = {
      {"2 * pi", k2Pi, 6.283185307179586},
      {"8 * pi", k8Pi, 25.132741228718345},
      {"2 * G", k2G, 1.33486e-10},
      {"c * c", kC2, 8.987551787368176e16},
      // ((hbar * c) * c) * c would give 2.8414385586542477e-09.
      {"hbar * ((c * c) * c)", kHbarC3, 2.841438558654248e-09},
      {"8pi * G", k8PiG, 1.6774345478283484e-09},
      {"(8pi * G) * k_B", k8PiGKb, 2.3159483310246615e-32},
      {"2pi * k_B", k2PiKb, 8.67487351117219e-23},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_TRUE(SameBits(c.expected, c.actual));
  }
}

// Every name of the expression language reads the value it stands for; a name
// wired to the wrong entry of the shared table shows here.
TEST(PhysicalConstants, ExpressionNamesReadTheirValues) {
  struct Case {
    std::string_view name;
    double value;
  };
  const Case cases[] = {
      {"c", 299792458.0},        {"e", 1.602176634e-19},     {"h", 6.62607015e-34},
      {"G", 6.6743e-11},         {"R", 8.314462618},         {"kb", 1.380649e-23},
      {"kB", 1.380649e-23},      {"na", 6.02214076e23},      {"NA", 6.02214076e23},
      {"me", 9.1093837015e-31},  {"mp", 1.67262192369e-27},  {"pi", 3.141592653589793},
      {"PI", 3.141592653589793}, {"a0", 5.29177210903e-11},  {"tau", 6.283185307179586},
      {"phi", 1.6180339887},     {"inf", kInf},              {"Inf", kInf},
      {"hbar", 1.054571817e-34}, {"sigma", 5.670374419e-08}, {"alpha", 0.0072973525693},
      {"r_inf", 10973731.56816}, {"r_gas", 8.314462618},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<double> found = find_constant(c.name);
    ASSERT_TRUE(found.has_value());
    EXPECT_TRUE(SameBits(c.value, *found));
  }
}

}  // namespace
}  // namespace kalvex::engine
