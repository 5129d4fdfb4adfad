#include "validation_report.hpp"

#include <charconv>
#include <cmath>
#include <utility>

#include "trust_verdict.hpp"
#include "scientific_text.hpp"

namespace kalvex {
namespace {

// NaN and the infinities are spelt the same way in every form.
std::optional<std::string> special_form(double value) {
  if (std::isnan(value)) return std::string("NaN");
  if (std::isinf(value)) return std::string(value < 0 ? "-inf" : "inf");
  return std::nullopt;
}

template <typename... Format>
std::string chars_of(double value, Format... format) {
  // Large enough for the widest fixed form with four decimals (309 integer
  // digits) and for every exponent form.
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format...);
  return std::string(buffer, result.ptr);
}

}  // namespace

ValidationReport make_validation_report(std::string zone, std::optional<std::string> precision,
                                        const ValidationFigures& figures) {
  ValidationReport report;
  report.zone = std::move(zone);
  report.precision_requested = std::move(precision);
  report.figures = figures;
  report.trust = trust_verdict(figures.value, figures.error_pct);
  // A NaN compares false, so it fails as it should.
  const bool passed = std::isfinite(figures.error_pct) && figures.error_pct < report.tolerance_pct;
  report.result = passed ? "PASS" : "FAIL";
  return report;
}

std::string exponent_form_6(double value) {
  if (auto special = special_form(value)) return *special;
  return scientific_text(value, 6);
}

std::string fixed_form(double value, int decimals) {
  if (auto special = special_form(value)) return *special;
  return chars_of(value, std::chars_format::fixed, decimals);
}

std::string shortest_form(double value) {
  if (auto special = special_form(value)) return *special;
  return chars_of(value);
}

std::string format_validation_report(const ValidationReport& report) {
  const ValidationFigures& f = report.figures;
  std::string out;
  out += "kalvex validate - domain=hawking zone=";
  out += report.zone;
  out += " precision=";
  out += report.precision_requested ? std::string_view(*report.precision_requested) : "-";
  out += "\n";
  // The three labels are padded to 24 characters so that the numbers line up.
  out += "  reference (MPFR-256): " + exponent_form_6(f.reference) + "\n";
  out += "  kalvex:               " + exponent_form_6(f.value) + "   error " + fixed_form(f.error_pct, 4) +
         "%   drift " + fixed_form(f.drift, 3) + "\n";
  out += "  IEEE-754:             " + exponent_form_6(f.ieee754_value) + "   error " +
         fixed_form(f.ieee754_error_pct, 4) + "%\n";
  out += "  RESULT: ";
  out += report.result;
  out += "  (tolerance " + shortest_form(report.tolerance_pct) + "%, trust ";
  out += report.trust;
  out += ")\n";
  return out;
}

}  // namespace kalvex
