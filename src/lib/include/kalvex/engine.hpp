// Kalvex Engine: drift-tracked arithmetic on a zoned decimal-logarithm scale.
//
// Every number the engine computes with is placed in an interval of a zone's
// decimal-logarithm scale, at its exact position inside the interval, and
// carries a drift figure (in quantisation steps, 2047 per interval) that grows
// as operations combine values. The engine answers three kinds of request,
// each with a short list of figures handed back whole, by value:
//
//   const double temperature[] = {5778.0};
//   ExpressionFigures f = kalvex::evaluate_expression("2*pi", "lucas");
//   DomainFigures     d = kalvex::compute_domain("wien", temperature, "lucas");
//   ValidationFigures v = kalvex::validate_hawking("lucas");
//
// Some figures, to the last bit:
//
//   evaluate_expression("-2^2", "lucas").value == -4.000000000000001
//   evaluate_expression("-2^2", "sinh").value  ==  4.0
//   evaluate_expression("2*", "lucas")          == {NaN, 0.0, 0.0}
//   compute_domain("hawking", [1.989e30], "lucas")
//       == {6.168429712630829e-08, 6.168429712630866e-08,
//           0.7398986382457141, 0.08322811796537252}
//   compute_domain("Wien", [5778.0], "lucas")   == {0.0, 0.0, 0.0, 0.0}
//
// Zones. The zone name selects the boundary set, compared byte for byte:
// "sinh" (10^-10 to 10^2), "linear_ev" (10^-2 to 10^2) and "linear_cfd"
// (10^-6 to 10^3) are their own; every other name, "lucas" included, selects
// the default lucas set (10^-123 upwards, overflowing to infinity). Values
// beyond a zone's range saturate at its limits.
//
// Purity. Every entry point is a pure function of its arguments: it builds the
// zone it needs, keeps nothing between calls, reads no global state and is safe
// to call from any thread. Equal arguments give equal figures, bit for bit, in
// every build type.
//
// Failures. The engine never throws and prints nothing. What it cannot answer
// comes back as figures: a text that does not parse as NaN with zero drift, a
// formula name outside the catalogue as four zeros. A result that is not
// finite (an overflow, the square root of a negative number) is not a failure;
// it is returned as it comes, and its drift may be NaN as well.
#pragma once

#include <span>
#include <string_view>

namespace kalvex {

// Value, drift and relative uncertainty (percent) of an expression.
struct ExpressionFigures {
  double value;
  double drift;
  double rel_uncertainty_pct;  // drift / 2047 * ln 10 * 100
};

// A named formula evaluated twice: in plain doubles (ieee754) and drift-tracked
// (value, drift, rel_uncertainty_pct).
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
  double error_pct;  // |value - reference| / reference * 100
  double reference;
};

// Evaluates `text` (bytes; parameters already substituted) in the zone named
// `zone_name`. The language: decimal numbers, the operators + - * / and one
// power ^ or ** (not chaining), parentheses (the closing one optional), one
// unary sign, and the built-in constants (c, e = elementary charge, h, G, pi,
// ...) and functions (ln, log, log10, log2, exp, sqrt, abs, sin, cos, tan,
// floor, ceil, round, pow), names matched case-sensitively. Whatever follows
// the first complete expression is ignored.
//
// On success returns the decoded value, its drift and relative uncertainty.
// On failure (empty text, a misplaced byte, a malformed number, an unknown
// name, nesting deeper than a few hundred levels) returns {NaN, 0.0, 0.0}.
ExpressionFigures evaluate_expression(std::string_view text, std::string_view zone_name);

// Evaluates the named formula (`wien`, `e_mc2`, `hawking`, `coulomb`,
// `gravity`, `compton`, `de_broglie`, `bohr_energy`, `planck_energy`,
// `schwarzschild`, `kinetic_energy`, `stefan_boltzmann`, `thermal_debroglie`,
// `relativistic_energy`) in the zone named `zone_name`. The plain side reads
// `params` positionally, one number per input; the tracked side reads them as
// value-and-drift pairs. Missing numbers read as 0.0, extra ones are ignored.
//
// Returns the four figures, infinities and NaN included as they come. A name
// outside the catalogue (compared byte for byte) returns {0.0, 0.0, 0.0, 0.0}.
DomainFigures compute_domain(std::string_view name, std::span<const double> params,
                             std::string_view zone_name);

// Computes the Hawking temperature of one solar mass drift-tracked in the zone
// named `zone_name` and compares it with the built-in reference. Never fails.
ValidationFigures validate_hawking(std::string_view zone_name);

}  // namespace kalvex
