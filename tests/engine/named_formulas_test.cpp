#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string_view>
#include <vector>

#include "figure_bits.hpp"
#include "kalvex/engine.hpp"

namespace kalvex {
namespace {

using kalvex::testing::kInf;
using kalvex::testing::kNaN;
using kalvex::testing::SameBits;

// One computation; a figure left empty is not checked by that row.
struct Case {
  std::string_view name;
  std::vector<double> params;
  std::string_view zone;
  std::optional<double> ieee754;
  std::optional<double> value;
  std::optional<double> drift;
  std::optional<double> rel_uncertainty_pct;
};

void check(const Case& c) {
  SCOPED_TRACE(::testing::Message()
               << c.name << " in " << c.zone << " with " << ::testing::PrintToString(c.params));
  const DomainFigures f = compute_domain(c.name, c.params, c.zone);
  if (c.ieee754) {
    EXPECT_TRUE(SameBits(*c.ieee754, f.ieee754)) << "ieee754";
  }
  if (c.value) {
    EXPECT_TRUE(SameBits(*c.value, f.value)) << "value";
  }
  if (c.drift) {
    EXPECT_TRUE(SameBits(*c.drift, f.drift)) << "drift";
  }
  if (c.rel_uncertainty_pct) {
    EXPECT_TRUE(SameBits(*c.rel_uncertainty_pct, f.rel_uncertainty_pct)) << "rel_uncertainty_pct";
  }
}

TEST(ComputeDomain, Figures) {
  const std::optional<double> any;
  const Case cases[] = {
      // A single input given alone starts with drift 0.0; [x, 0.0] is the same.
      {"wien",
       {5778.0},
       "lucas",
       5.015181645898235e-07,
       5.015181645898237e-07,
       0.9212074617930682,
       0.10362279282264783},
      {"wien",
       {5778.0, 0.0},
       "lucas",
       5.015181645898235e-07,
       5.015181645898237e-07,
       0.9212074617930682,
       0.10362279282264783},
      {"wien", {5778.0, 0.5}, "lucas", 5.015181645898235e-07, 5.015181645898237e-07, any, any},
      // Division by a zero input: infinite on the plain side, the zero value on
      // the tracked side.
      {"wien", {}, "lucas", kInf, 0.0, 0.0, 0.0},
      {"wien", {0.0}, "lucas", kInf, 0.0, 0.0, 0.0},
      {"hawking",
       {1.989e30},
       "lucas",
       6.168429712630829e-08,
       6.168429712630866e-08,
       0.7398986382457141,
       0.08322811796537252},
      {"hawking",
       {1.989e30},
       "no such zone",
       6.168429712630829e-08,
       6.168429712630866e-08,
       0.7398986382457141,
       0.08322811796537252},
      {"hawking", {1.989e30}, "sinh", 6.168429712630829e-08, 1.0, any, any},
      {"hawking", {}, "lucas", kInf, 0.0, 0.0, 0.0},
      // Held at the top of the sinh zone.
      {"e_mc2", {1.0}, "sinh", 8.987551787368176e16, 100.0, 0.0, 0.0},
      // One number per input: the tracked side reads 2e-6 as the first charge's
      // drift and 0.0 as the distance, and a quotient by zero is zero.
      {"coulomb", {1e-6, 2e-6, 0.5}, "lucas", 0.07190041433839998, 0.0, 0.0, 0.0},
      // Value-and-drift pairs: now the plain side reads 0.0 as the second charge.
      {"coulomb", {1e-6, 0.0, 2e-6, 0.0, 0.5, 0.0}, "lucas", 0.0, any, any, any},
      {"kinetic_energy", {2.0, 3.0}, "lucas", 9.0, 0.0, any, any},
      {"stefan_boltzmann", {1.0, 5778.0}, "lucas", any, 0.0, any, any},
      // A negative radicand: the tracked square root is the zero value.
      {"thermal_debroglie", {-1.67262192369e-27, 0.0, 300.0, 0.0}, "lucas", -kInf, 0.0, 0.0, 0.0},
      {"relativistic_energy", {1.0}, "lucas", 8.987551787368176e16, 8.987551787368171e16, any, any},
      {"relativistic_energy",
       {1.0, 0.0},
       "lucas",
       8.987551787368176e16,
       8.987551787368171e16,
       any,
       any},
      // At and beyond the speed of light.
      {"relativistic_energy", {1.0, 299792458.0}, "lucas", kInf, 0.0, any, any},
      {"relativistic_energy", {1.0, 4e8}, "lucas", kNaN, 0.0, any, any},
      // Every formula at inputs where another grouping of its plain side, or of
      // its tracked side, changes the last bit, and with a negative starting
      // drift, which the tracked products and quotients take by its magnitude.
      // The tracked side reads the numbers in value-and-drift pairs, so the
      // plain side's second number is the first tracked input's drift: a
      // formula of two inputs given [x, y, y, d] computes on x and y on both
      // sides, y being x's drift as well. relativistic_energy's negative speed
      // is the mass's drift.
      {"wien", {2.725, -0.3}, "lucas",
       0.001063402552293578, 0.0010634025522935776, 0.44736562588949297, 0.050322297083101986},
      {"e_mc2", {3.7, -0.3}, "lucas",
       3.325394161326226e+17, 3.3253941613262234e+17, 0.2047546758238286, 0.023032001185773136},
      {"e_mc2", {1.0, -5.0}, "lucas",
       8.987551787368176e+16, 8.987551787368171e+16, 0.516336223661051, 0.05808051253418543},
      {"hawking", {1.989e30, -0.3}, "lucas",
       6.168429712630829e-08, 6.168429712630866e-08, 0.7428986382457141, 0.08356557547778005},
      {"coulomb", {7e-6, 5e-6, 0.3, -0.3, 0.3, -0.3}, "lucas",
       3.4951590303388884, 209709.54182033308, 0.8333534003996743, 0.09374045515174345},
      {"gravity", {1000.0, 1.5, 0.23, -0.3, 0.23, -0.3}, "lucas",
       1.8925236294896026e-06, 2.901869565217391e-07, 0.8594042022284856, 0.09667080141220084},
      {"compton", {1.1e-31, -0.3}, "lucas",
       2.0092900857311215e-11, 2.0092900857311315e-11, 0.26912211693532007, 0.03027242670494716},
      {"de_broglie", {0.145, 3.3, 3.3, -0.3}, "lucas",
       1.3847586520376178e-33, 1.3847586520376195e-33, 0.39349262618075476, 0.044262347593887856},
      {"bohr_energy", {3.0, -0.3}, "lucas",
       -1.5117436802222222, -1.5117436802222217, 0.9386200461041481, 0.10558146195138231},
      {"planck_energy", {5e14, -0.3}, "lucas",
       3.313035075e-19, 3.3130350750000174e-19, 0.826821422776975, 0.09300570017852419},
      {"schwarzschild", {3.3e30, -0.3}, "lucas",
       4901.265777618319, 4901.26577761831, 0.07639656667909708, 0.00859353178266803},
      {"kinetic_energy", {70.0, 10.1}, "lucas",
       3570.35, 0.0, 0.20054822241989517, 0.022558834751856615},
      {"kinetic_energy", {70.0, 10.1, 10.1, -0.3}, "lucas",
       3570.35, 3570.3500000000013, 0.6401244868800298, 0.07200493899122712},
      {"stefan_boltzmann", {3.7, 2.2, 2.2, -0.3}, "lucas",
       4.914781150619878e-06, 4.914781150619869e-06, 0.3630984181774337, 0.04084342965242194},
      {"thermal_debroglie", {1.67262192369e-27, 4.2, 4.2, -0.3}, "lucas",
       8.487912937200066e-10, 8.487912937200117e-10, 0.18969341998569936, 0.02133782320948364},
      {"relativistic_energy", {1.5, -2.9e8}, "lucas",
       5.3181171718639e+17, 5.3181171718639155e+17, 2900000.823910271, 326209.0213388491},
  };
  for (const Case& c : cases) check(c);
}

// Worked examples known only to a few digits.
TEST(ComputeDomain, ApproximateFigures) {
  auto f = [](std::string_view name, std::vector<double> params) {
    return compute_domain(name, params, "lucas");
  };
  // A starting drift of 0.5 adds a tenth of it to the quotient's drift.
  EXPECT_NEAR(f("wien", {5778.0, 0.5}).drift - f("wien", {5778.0}).drift, 0.05, 1e-12);
  EXPECT_NEAR(f("coulomb", {1e-6, 0.0, 2e-6, 0.0, 0.5, 0.0}).value, 0.0719, 1e-4);
  // A tracked product with a value that decodes to 0.0 still adds drift.
  EXPECT_GT(f("kinetic_energy", {2.0, 3.0}).drift, 0.0);
  // The temperature taken as the area's drift.
  EXPECT_NEAR(f("stefan_boltzmann", {1.0, 5778.0}).drift, 57.9, 0.1);
  // The speed also serves as the mass's drift.
  EXPECT_NEAR(f("relativistic_energy", {1.0, 1.5e8}).drift, 1.5e6, 0.1e6);
}

// Each formula computes the same quantity on both sides: the plain side on
// one number per input, the tracked side on the same numbers given as
// value-and-drift pairs. They differ only where the tracked side rounds
// differently or uses other stored constants.
TEST(ComputeDomain, BothSidesComputeTheSameQuantity) {
  struct Inputs {
    std::string_view name;
    std::vector<double> positional;
  };
  const Inputs cases[] = {
      {"wien", {5778.0}},
      {"e_mc2", {2.0}},
      {"hawking", {1.989e30}},
      {"coulomb", {1e-6, 2e-6, 0.5}},
      {"gravity", {5.97e24, 7.35e22, 3.84e8}},
      {"compton", {9.1093837015e-31}},
      {"de_broglie", {9.1093837015e-31, 1e6}},
      {"bohr_energy", {2.0}},
      {"planck_energy", {5e14}},
      {"schwarzschild", {1.989e30}},
      {"kinetic_energy", {2.0, 3.0}},
      {"stefan_boltzmann", {1.0, 5778.0}},
      {"thermal_debroglie", {1.67262192369e-27, 300.0}},
  };
  for (const Inputs& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<double> paired;
    for (double x : c.positional) {
      paired.push_back(x);
      paired.push_back(0.0);
    }
    const double plain = compute_domain(c.name, c.positional, "lucas").ieee754;
    const double tracked = compute_domain(c.name, paired, "lucas").value;
    EXPECT_TRUE(std::isfinite(plain));
    EXPECT_NEAR(tracked, plain, std::fabs(plain) * 1e-9);
  }
  // relativistic_energy reads the speed from p1 on both sides.
  const DomainFigures moving =
      compute_domain("relativistic_energy", std::vector{1.0, 1.5e8}, "lucas");
  EXPECT_NEAR(moving.value, moving.ieee754, moving.ieee754 * 1e-9);
  EXPECT_GT(moving.ieee754, 8.987551787368176e16);
}

TEST(ComputeDomain, UnknownNamesGiveFourZeros) {
  const std::vector<double> params = {5778.0, 0.5, 3.0};
  for (std::string_view zone : {"lucas", "sinh", "linear_ev", "linear_cfd"}) {
    for (std::string_view name : {"Wien", "", "wien ", " wien", "entropy"}) {
      check({name, params, zone, 0.0, 0.0, 0.0, 0.0});
      check({name, {}, zone, 0.0, 0.0, 0.0, 0.0});
    }
  }
}

}  // namespace
}  // namespace kalvex
