#include "expression_parser.hpp"

#include <charconv>
#include <cmath>
#include <limits>

#include "builtins.hpp"
#include "kalvex/engine.hpp"
#include "math_calls.hpp"
#include "tracked_arithmetic.hpp"

namespace kalvex::engine {

namespace {

using Parsed = std::optional<TrackedValue>;

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool is_name_byte(char c) { return is_letter(c) || is_digit(c) || c == '_'; }
bool is_exponent_mark(char c) { return c == 'e' || c == 'E'; }

void skip_blanks(ExprParser& p) {
  while (p.pos < p.text.size() && (p.text[p.pos] == ' ' || p.text[p.pos] == '\t')) ++p.pos;
}

// The next byte after blanks, or '\0' at the end of the text. A NUL inside the
// text begins no primary and is no operator either, so it reads the same.
char peek(ExprParser& p) {
  skip_blanks(p);
  return p.pos < p.text.size() ? p.text[p.pos] : '\0';
}

bool byte_after_is(const ExprParser& p, char c) {
  return p.pos + 1 < p.text.size() && p.text[p.pos + 1] == c;
}

// Digits with at most one ".", a digit on at least one side of it, then an
// optional exponent: "e" or "E", an optional sign and at least one digit.
bool is_decimal_literal(std::string_view t) {
  std::size_t i = 0;
  while (i < t.size() && is_digit(t[i])) ++i;
  std::size_t digits = i;
  if (i < t.size() && t[i] == '.') {
    const std::size_t fraction_start = ++i;
    while (i < t.size() && is_digit(t[i])) ++i;
    digits += i - fraction_start;
  }
  if (digits == 0) return false;
  if (i == t.size()) return true;
  if (!is_exponent_mark(t[i])) return false;
  ++i;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  const std::size_t exponent_start = i;
  while (i < t.size() && is_digit(t[i])) ++i;
  return i > exponent_start && i == t.size();
}

// For a literal outside the double range: true when it lies above the range
// (it becomes infinity), false when below (it becomes zero). Only the sign of
// the decimal exponent of its leading digit matters, as the range spans
// 10^-324 to 10^308 around it.
bool lies_above_range(std::string_view t) {
  // Digits before the point, counted from the first non-zero one; or minus the
  // zeros between the point and the first non-zero digit.
  std::int64_t lead = 0;
  bool seen_nonzero = false;
  bool after_point = false;
  std::size_t i = 0;
  for (; i < t.size() && !is_exponent_mark(t[i]); ++i) {
    if (t[i] == '.') {
      after_point = true;
      continue;
    }
    if (!seen_nonzero) {
      if (t[i] == '0') {
        if (after_point) --lead;
        continue;
      }
      seen_nonzero = true;
    }
    if (!after_point) ++lead;
  }
  std::int64_t exponent = 0;
  bool negative = false;
  if (i < t.size()) {
    ++i;
    if (t[i] == '+' || t[i] == '-') negative = t[i++] == '-';
    for (; i < t.size(); ++i) {
      // Saturate far beyond any digit count a text can have.
      if (exponent < (std::int64_t{1} << 40)) exponent = exponent * 10 + (t[i] - '0');
    }
  }
  return lead + (negative ? -exponent : exponent) > 0;
}

// A number token converted to the nearest double, ties to even; a magnitude
// too small for a double gives zero and one too large gives infinity.
std::optional<double> read_number(ExprParser& p) {
  const std::size_t start = p.pos;
  while (p.pos < p.text.size()) {
    const char c = p.text[p.pos];
    const bool sign_of_exponent =
        (c == '+' || c == '-') && p.pos > start && is_exponent_mark(p.text[p.pos - 1]);
    if (!is_digit(c) && c != '.' && !is_exponent_mark(c) && !sign_of_exponent) break;
    ++p.pos;
  }
  const std::string_view token = p.text.substr(start, p.pos - start);
  if (!is_decimal_literal(token)) return std::nullopt;

  double value = 0.0;
  const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
  if (ec == std::errc::result_out_of_range) {
    return lies_above_range(token) ? std::numeric_limits<double>::infinity() : 0.0;
  }
  if (ec != std::errc() || end != token.data() + token.size()) return std::nullopt;
  return value;
}

// One level deeper for a parenthesised expression or a function argument;
// fails beyond kMaxNestingDepth instead of recursing on.
Parsed parse_nested(ExprParser& p) {
  if (p.depth >= kMaxNestingDepth) return std::nullopt;
  ++p.depth;
  Parsed inner = parse_expr(p);
  --p.depth;
  return inner;
}

// A whole exponent below 1000 in magnitude takes the integer power, so that
// an odd power keeps the base's sign; every other exponent the general one.
TrackedValue power(const TrackedValue& base, const TrackedValue& exponent, const Zone& zone) {
  const double e = decode_value(exponent, zone);
  if (std::fabs(e) < 1000.0 && e - cmath::trunc(e) == 0.0) {
    return tracked_powi(base, static_cast<std::int32_t>(e), zone);
  }
  return tracked_pow(base, e, zone);
}

Parsed parse_call(ExprParser& p, std::string_view name) {
  ++p.pos;  // "("
  const Parsed first = parse_nested(p);
  if (!first) return std::nullopt;
  Parsed second;
  if (peek(p) == ',') {
    ++p.pos;
    second = parse_nested(p);
    if (!second) return std::nullopt;
  }
  if (peek(p) == ')') ++p.pos;
  return apply_function(name, *first, second, p.zone);
}

}  // namespace

Parsed parse_expr(ExprParser& p) {
  Parsed acc = parse_term(p);
  if (!acc) return std::nullopt;
  for (;;) {
    const char c = peek(p);
    if (c != '+' && c != '-') return acc;
    ++p.pos;
    const Parsed term = parse_term(p);
    if (!term) return std::nullopt;
    acc = tracked_add(*acc, c == '-' ? negated(*term) : *term, p.zone);
  }
}

Parsed parse_term(ExprParser& p) {
  Parsed acc = parse_power(p);
  if (!acc) return std::nullopt;
  for (;;) {
    const char c = peek(p);
    if (c != '*' && c != '/') return acc;
    // "**" here follows a power that already has its exponent: not ours.
    if (c == '*' && byte_after_is(p, '*')) return acc;
    ++p.pos;
    const Parsed rhs = parse_power(p);
    if (!rhs) return std::nullopt;
    acc = c == '*' ? tracked_mul(*acc, *rhs, p.zone) : tracked_div(*acc, *rhs, p.zone);
  }
}

Parsed parse_power(ExprParser& p) {
  const Parsed base = parse_unary(p);
  if (!base) return std::nullopt;
  const char c = peek(p);
  if (c == '^') {
    p.pos += 1;
  } else if (c == '*' && byte_after_is(p, '*')) {
    p.pos += 2;
  } else {
    return base;
  }
  const Parsed exponent = parse_unary(p);
  if (!exponent) return std::nullopt;
  return power(*base, *exponent, p.zone);
}

Parsed parse_unary(ExprParser& p) {
  const char c = peek(p);
  if (c != '+' && c != '-') return parse_primary(p);
  ++p.pos;
  const Parsed operand = parse_primary(p);
  if (!operand || c == '+') return operand;
  return negated(*operand);
}

Parsed parse_primary(ExprParser& p) {
  skip_blanks(p);
  if (p.pos >= p.text.size()) return std::nullopt;
  const char c = p.text[p.pos];

  if (c == '(') {
    ++p.pos;
    const Parsed inner = parse_nested(p);
    if (!inner) return std::nullopt;
    if (peek(p) == ')') ++p.pos;  // the closing parenthesis is optional
    return inner;
  }

  if (is_digit(c) || c == '.') {
    const std::optional<double> number = read_number(p);
    if (!number) return std::nullopt;
    return encode_value(*number, p.zone);
  }

  if (is_letter(c) || c == '_') {
    const std::size_t start = p.pos;
    while (p.pos < p.text.size() && is_name_byte(p.text[p.pos])) ++p.pos;
    const std::string_view name = p.text.substr(start, p.pos - start);
    // Blanks after a name stay consumed; "pi (2)" is a call of pi.
    if (peek(p) == '(') return parse_call(p, name);
    const std::optional<double> constant = find_constant(name);
    if (!constant) return std::nullopt;
    return encode_value(*constant, p.zone);
  }

  return std::nullopt;
}

}  // namespace kalvex::engine

namespace kalvex {

ExpressionFigures evaluate_expression(std::string_view text, std::string_view zone_name) {
  const engine::Zone zone = engine::zone_from_name(zone_name);
  engine::ExprParser parser{text, zone};
  // Whatever follows the first complete expression is ignored, not rejected.
  const std::optional<engine::TrackedValue> result = engine::parse_expr(parser);
  if (!result) return {std::numeric_limits<double>::quiet_NaN(), 0.0, 0.0};
  return {engine::decode_value(*result, zone), result->drift,
          engine::rel_uncertainty_pct(result->drift)};
}

}  // namespace kalvex
