#include "validation_report.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kalvex {
namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

// The default run's figures in the lucas zone.
constexpr ValidationFigures lucas_figures = {6.168429712630829e-08, 6.168429712630866e-08,
                                             0.7493815974560012,    0.023405931740617853,
                                             0.02340593174001723,   6.169873829087747e-08};

TEST(ValidationReportForms, ExponentFixedAndShortest) {
  EXPECT_EQ(exponent_form_6(6.169873829087747e-08), "6.169874e-8");
  EXPECT_EQ(exponent_form_6(6.168429712630866e-08), "6.168430e-8");
  EXPECT_EQ(exponent_form_6(100.0), "1.000000e2");
  EXPECT_EQ(exponent_form_6(0.0), "0.000000e0");
  EXPECT_EQ(exponent_form_6(-2.5e-300), "-2.500000e-300");
  EXPECT_EQ(fixed_form(0.02340593174001723, 4), "0.0234");
  EXPECT_EQ(fixed_form(162077868540.60654, 4), "162077868540.6065");
  EXPECT_EQ(fixed_form(1e300, 3).size(), 301u + 4u);  // never an exponent
  EXPECT_EQ(fixed_form(0.7398986382457141, 3), "0.740");
  EXPECT_EQ(fixed_form(-0.5, 3), "-0.500");
  EXPECT_EQ(shortest_form(1.0), "1");
  EXPECT_EQ(shortest_form(0.5), "0.5");
  for (const auto& form : {+[](double v) { return exponent_form_6(v); }, +[](double v) { return fixed_form(v, 4); },
                           +[](double v) { return shortest_form(v); }}) {
    EXPECT_EQ(form(nan), "NaN");
    EXPECT_EQ(form(-nan), "NaN");
    EXPECT_EQ(form(inf), "inf");
    EXPECT_EQ(form(-inf), "-inf");
  }
}

TEST(ValidationReport, TheDefaultRunsFiveLines) {
  const ValidationReport report = make_validation_report("lucas", std::nullopt, lucas_figures);
  EXPECT_EQ(format_validation_report(report),
            "kalvex validate - domain=hawking zone=lucas precision=-\n"
            "  reference (MPFR-256): 6.169874e-8\n"
            "  kalvex:               6.168430e-8   error 0.0234%   drift 0.749\n"
            "  IEEE-754:             6.168430e-8   error 0.0234%\n"
            "  RESULT: PASS  (tolerance 1%, trust PRECISE)\n");
}

TEST(ValidationReport, PrecisionTextAndNonFiniteFigures) {
  ValidationFigures figures = lucas_figures;
  figures.value = nan;
  figures.drift = inf;
  figures.error_pct = -inf;
  const ValidationReport report = make_validation_report("sinh", std::string(""), figures);
  EXPECT_EQ(report.trust, "ERROR");
  EXPECT_EQ(report.result, "FAIL");
  EXPECT_EQ(format_validation_report(report),
            "kalvex validate - domain=hawking zone=sinh precision=\n"
            "  reference (MPFR-256): 6.169874e-8\n"
            "  kalvex:               NaN   error -inf%   drift inf\n"
            "  IEEE-754:             6.168430e-8   error 0.0234%\n"
            "  RESULT: FAIL  (tolerance 1%, trust ERROR)\n");
}

TEST(ValidationReport, PassesStrictlyBelowTheTolerance) {
  struct Case {
    double error_pct;
    const char* result;
    const char* trust;
  };
  const Case cases[] = {
      {std::nextafter(1.0, 0.0), "PASS", "DRIFTING"},
      {1.0, "FAIL", "DRIFTING"},
      {0.4999, "PASS", "PRECISE"},
      {-3.0, "PASS", "PRECISE"},
      {162077868540.60654, "FAIL", "UNRELIABLE"},
      {nan, "FAIL", "ERROR"},
  };
  for (const Case& c : cases) {
    ValidationFigures figures = lucas_figures;
    figures.error_pct = c.error_pct;
    const ValidationReport report = make_validation_report("lucas", "60", figures);
    EXPECT_EQ(report.result, c.result) << c.error_pct;
    EXPECT_EQ(report.trust, c.trust) << c.error_pct;
    EXPECT_EQ(report.tolerance_pct, 1.0);
  }
}

}  // namespace
}  // namespace kalvex
