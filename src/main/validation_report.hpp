// The outcome of one validation run, and the five-line text report made from it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "kalvex/engine.hpp"

namespace kalvex {

// The pass threshold of every run, in percent; the engine error must be below it.
inline constexpr double validation_tolerance_pct = 1.0;

struct ValidationReport {
  std::string zone;
  std::optional<std::string> precision_requested;  // absent without --precision
  ValidationFigures figures;
  std::string_view trust;   // a verdict word
  std::string_view result;  // "PASS" or "FAIL"
  double tolerance_pct = validation_tolerance_pct;
};

// Derives the verdict (value and engine error in place of the uncertainty) and
// the result: PASS exactly when the engine error is finite and strictly below
// the tolerance.
ValidationReport make_validation_report(std::string zone, std::optional<std::string> precision,
                                        const ValidationFigures& figures);

// The report's number forms. Each writes "NaN" for a NaN and "inf" / "-inf"
// for the infinities, and a leading "-" for a negative number.
// Seven significant digits with a bare exponent: 6.169874e-8, 1.000000e2.
std::string exponent_form_6(double value);
// Positional with exactly `decimals` digits after the point, never an exponent.
std::string fixed_form(double value, int decimals);
// The fewest digits that read back, with no ".0" for an integral value: 1.
std::string shortest_form(double value);

// The five lines, each ended by a newline, that go to standard error.
std::string format_validation_report(const ValidationReport& report);

}  // namespace kalvex
