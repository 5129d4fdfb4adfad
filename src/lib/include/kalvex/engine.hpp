// Kalvex Engine: drift-tracked arithmetic on a zoned decimal-logarithm scale.
//
// The engine answers three kinds of request, each with a short list of figures
// handed back whole, by value:
//
//   ExpressionFigures f = kalvex::evaluate_expression("2*pi", "lucas");
//   DomainFigures     d = kalvex::compute_domain("wien", {5778.0}, "lucas");
//   ValidationFigures v = kalvex::validate_hawking("lucas");
//
// Every entry point is a pure function of its arguments: it builds the zone it
// needs from the zone name, keeps nothing between calls and never fails loudly.
// A zone name other than "sinh", "linear_ev" and "linear_cfd" selects the
// default "lucas" boundary set.
#pragma once

#include <span>
#include <string_view>

namespace kalvex {

// Value, drift and relative uncertainty (percent) of an expression.
// A text that does not parse gives {NaN, 0.0, 0.0}; a text that parses may
// still give a value that is not finite, with whatever drift it accumulated.
struct ExpressionFigures {
  double value;
  double drift;
  double rel_uncertainty_pct;
};

// A named formula evaluated twice: in plain doubles (ieee754) and drift-tracked
// (value, drift, rel_uncertainty_pct). A name outside the catalogue gives four
// zeros. Non-finite figures are returned as they come.
struct DomainFigures {
  double ieee754;
  double value;
  double drift;
  double rel_uncertainty_pct;
};

// The built-in Hawking-temperature check. ieee754_value, ieee754_error_pct and
// reference are the same in every call; value, drift and error_pct depend on
// the zone. All six are finite in each of the four zones.
struct ValidationFigures {
  double ieee754_value;
  double value;
  double drift;
  double ieee754_error_pct;
  double error_pct;
  double reference;
};

ExpressionFigures evaluate_expression(std::string_view text, std::string_view zone_name);

DomainFigures compute_domain(std::string_view name, std::span<const double> params,
                             std::string_view zone_name);

ValidationFigures validate_hawking(std::string_view zone_name);

}  // namespace kalvex
