#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <string>
#include <string_view>

#include "expression_parser.hpp"
#include "figure_bits.hpp"
#include "kalvex/engine.hpp"

namespace kalvex {
namespace {

using kalvex::testing::kInf;
using kalvex::testing::kNaN;
using kalvex::testing::SameBits;

constexpr std::string_view kZones[] = {"lucas", "sinh", "linear_ev", "linear_cfd"};

::testing::AssertionResult SameFigures(const ExpressionFigures& expected,
                                       const ExpressionFigures& actual) {
  for (auto field : {&ExpressionFigures::value, &ExpressionFigures::drift,
                     &ExpressionFigures::rel_uncertainty_pct}) {
    ::testing::AssertionResult same = SameBits(expected.*field, actual.*field);
    if (!same) return same;
  }
  return ::testing::AssertionSuccess();
}

const ExpressionFigures kFailure{kNaN, 0.0, 0.0};

TEST(EvaluateExpression, FailuresGiveTheFailureFigures) {
  const std::string_view texts[] = {
      // Nothing where a primary is needed.
      "", "   ", "\t", "2*", "2^", "2-", "-", "+", "(", "sin(", "f()",
      // A byte that begins no primary, a second sign.
      ")", ",", "*2", "\n1", "\x80", "--2", "+-2", "2* *3",
      // Number tokens that are not decimal literals.
      ".", "1e", "2e", "2e+", "1.2.3", "1e3.5", "1e5e5", "1.e",
      // Unknown names, case counting; a function name without "(", a constant
      // with one.
      "foo", "E", "Pi", "nan", "NaN", "INF", "sqrt 4", "pi (2)", "pi(2)", "Sin(1)", "LOG(100)",
      "foo(1)",
      // A failing second argument fails the call, though it would be ignored.
      "sin(1, foo)", "sin(1,)"};
  for (std::string_view zone : kZones) {
    for (std::string_view text : texts) {
      SCOPED_TRACE(::testing::Message() << zone << " \"" << text << "\"");
      EXPECT_TRUE(SameFigures(kFailure, evaluate_expression(text, zone)));
    }
  }
}

// Texts that must give exactly the figures of another text, in every zone.
TEST(EvaluateExpression, SameFiguresAs) {
  struct Case {
    std::string_view text;
    std::string_view same_as;
  };
  const Case cases[] = {
      // The closing parenthesis is optional.
      {"(2+3", "(2+3)"},
      {"((2", "2"},
      // What follows the first complete expression is not examined, and
      // nothing multiplies implicitly.
      {"2 3", "2"},
      {"2)", "2"},
      {"2,3", "2"},
      {"2pi", "2"},
      {"2 e", "2"},
      {"1\n+1", "1"},
      // Powers take one unary exponent and do not chain.
      {"2^3^2", "2^3"},
      {"2**3**2", "2^3"},
      {"2**3", "2^3"},
      {"2 ** 3", "2^3"},
      {"2^3*4", "(2^3)*4"},
      {"2^3+1", "(2^3)+1"},
      {"2^-1", "2^(-1)"},
      {"-2^2", "(-2)^2"},
      // A whole exponent below 1000 in magnitude takes the integer power, whose
      // even powers drop the base's sign. 138 and 960 decode exactly in lucas
      // and linear_cfd, and sinh and linear_ev hold them at 100; a base near 1
      // keeps the powers inside the lucas range.
      {"-1.1^138", "1.1^138"},
      {"-1.1^-138", "1.1^-138"},
      {"-1.1^960", "1.1^960"},
      {"-1.1^-960", "1.1^-960"},
      // Signs and associativity.
      {"2--3", "2-(-3)"},
      {"2*-3", "2*(-3)"},
      {"+2", "2"},
      {" \t2", "2"},
      {"8-2-1", "(8-2)-1"},
      {"8/2/2", "(8/2)/2"},
      // Number tokens end at the first byte that cannot continue them.
      {"2e-3-1", "(2e-3)-1"},
      {".5", "0.5"},
      {"5.", "5"},
      {"1.e5", "100000"},
      {"1E+5", "100000"},
      // Calls: no third argument, only pow reads the second, pow(x) is x^1.
      {"pow(2,3,4)", "pow(2,3)"},
      {"sin(1, 2)", "sin(1)"},
      {"sin ( 1 ", "sin(1)"},
      {"pow(2)", "2"},
      {"log(100)", "log10(100)"},
      // Constants are encoded like the literal of their value.
      {"e", "1.602176634e-19"},
      {"pi", "3.141592653589793"},
      {"phi", "1.6180339887"},
      {"kb", "kB"},
      {"na", "NA"},
      {"pi", "PI"},
      {"inf", "Inf"},
      {"R", "r_gas"},
      {"inf", "1e400"},
  };
  for (std::string_view zone : kZones) {
    for (const Case& c : cases) {
      SCOPED_TRACE(::testing::Message()
                   << zone << " \"" << c.text << "\" vs \"" << c.same_as << "\"");
      const ExpressionFigures actual = evaluate_expression(c.text, zone);
      EXPECT_TRUE(SameFigures(evaluate_expression(c.same_as, zone), actual));
      EXPECT_FALSE(std::isnan(actual.value));
    }
  }
}

TEST(EvaluateExpression, Figures) {
  struct Case {
    std::string_view text;
    std::string_view zone;
    ExpressionFigures figures;
  };
  const Case cases[] = {
      // Too small for a double is zero, too large is infinity; neither fails.
      {"1e-400", "lucas", {0.0, 0.0, 0.0}},
      {"0.00000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "0000000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "0000000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "0000000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "0001",
       "lucas",
       {0.0, 0.0, 0.0}},
      {"1e-99999999999999999999999", "lucas", {0.0, 0.0, 0.0}},
      {"1e400", "lucas", {kInf, 0.0, 0.0}},
      {"1e99999999999999999999999", "lucas", {kInf, 0.0, 0.0}},
      {"1000000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "0000000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "0000000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "0000000000000000000000000000000000000000000000000000000000000000000000000000000000",
       "lucas",
       {kInf, 0.0, 0.0}},
      {"0.0001e400", "lucas", {kInf, 0.0, 0.0}},
      {"1e400", "sinh", {100.0, 0.0, 0.0}},
      // ln(0) is minus infinity; a literal 0 carries drift 0.0, and 0 / 1e-300
      // stays 0.
      {"ln(0)", "lucas", {-kInf, 0.0, 0.0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.zone << " \"" << c.text << "\"");
    EXPECT_TRUE(SameFigures(c.figures, evaluate_expression(c.text, c.zone)));
  }
}

TEST(EvaluateExpression, Values) {
  struct Case {
    std::string_view text;
    std::string_view zone;
    double value;
  };
  const Case cases[] = {
      // In lucas the exponent 2 decodes as 2.0000000000000004 and takes the
      // general power, which keeps the base's sign; elsewhere it is exactly 2.
      {"-2^2", "lucas", -4.000000000000001},
      {"2^2", "lucas", 4.000000000000001},
      {"-2^2", "sinh", 4.0},
      {"2^2", "sinh", 4.0},
      {"-2^2", "linear_ev", 4.0},
      {"-2^2", "linear_cfd", 4.0},
      // Odd whole powers, negative ones too, keep the base's sign.
      {"-1.1^977", "lucas", -2.75837558158323e+40},
      {"-1.1^-977", "lucas", -3.625322115946329e-41},
      // 1000 decodes exactly and takes the general power, which keeps the
      // base's sign even for an even exponent; linear_cfd holds the result at
      // the ends of the zone.
      {"-1.1^1000", "lucas", -2.4699329180064e+41},
      {"-1.1^-1000", "lucas", -4.048692953196265e-42},
      {"-1.1^1000", "linear_cfd", -1000.0},
      {"-1.1^-1000", "linear_cfd", -1e-06},
      // NaN travels through a same-sign sum from either side.
      {"2+sqrt(-1)", "lucas", kNaN},
      {"sqrt(-1)+2", "lucas", kNaN},
      {"2+sqrt(-1)", "sinh", kNaN},
      {"sqrt(-1)*2", "lucas", kNaN},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.zone << " \"" << c.text << "\"");
    EXPECT_TRUE(SameBits(c.value, evaluate_expression(c.text, c.zone).value));
  }
  // phi is the ten-decimal golden ratio, not the nearest double to it.
  EXPECT_FALSE(SameBits(evaluate_expression("1.618033988749895", "lucas").value,
                        evaluate_expression("phi", "lucas").value));
}

// The functions replace the encoding's remainder by their own drift rule.
TEST(EvaluateExpression, FunctionDrift) {
  auto eval = [](std::string_view text, std::string_view zone = "lucas") {
    return evaluate_expression(text, zone);
  };
  // sqrt is a plain double square root: NaN for a negative argument, with a
  // tenth of the argument's drift (not the failure figures).
  const ExpressionFigures root = eval("sqrt(-4)");
  EXPECT_TRUE(SameBits(kNaN, root.value));
  EXPECT_TRUE(SameBits(eval("4").drift * 0.1, root.drift));
  // Below 1e-300 (zero included) the logarithms divide the drift by 1e-300.
  const ExpressionFigures log_of_zero = eval("ln(0*2)");
  EXPECT_TRUE(SameBits(-kInf, log_of_zero.value));
  EXPECT_TRUE(SameBits(eval("0*2").drift / 1e-300, log_of_zero.drift));
  // pow scales the drift by |p|.
  EXPECT_TRUE(SameBits(eval("2").drift * eval("3").value, eval("pow(2,3)").drift));
  // exp scales it by |x|.
  EXPECT_TRUE(SameBits(eval("1").drift * eval("1").value, eval("exp(1)").drift));
  // round: halves away from zero, drift kept. 2.5, -2.5 and 0.5 decode
  // exactly in sinh.
  struct Rounding {
    std::string_view text;
    std::string_view argument;
    std::string_view result;
  };
  const Rounding roundings[] = {
      {"round(2.5)", "2.5", "3"}, {"round(-2.5)", "-2.5", "-3"}, {"round(0.5)", "0.5", "1"}};
  for (const Rounding& r : roundings) {
    SCOPED_TRACE(r.text);
    ASSERT_TRUE(SameBits(std::stod(std::string(r.argument)), eval(r.argument, "sinh").value));
    EXPECT_TRUE(SameBits(eval(r.result, "sinh").value, eval(r.text, "sinh").value));
    EXPECT_TRUE(SameBits(eval(r.argument, "sinh").drift, eval(r.text, "sinh").drift));
  }
}

// Deep nesting answers with the failure figures instead of exhausting the
// stack; every "(" and every function argument counts one level.
TEST(EvaluateExpression, NestingDepth) {
  constexpr std::size_t kLimit = engine::kMaxNestingDepth;
  auto repeat = [](std::string_view unit, std::size_t n) {
    std::string s;
    s.reserve(unit.size() * n + 1);
    for (std::size_t i = 0; i < n; ++i) s += unit;
    return s;
  };
  EXPECT_TRUE(SameFigures(kFailure, evaluate_expression(repeat("(", 1000000), "lucas")));
  EXPECT_TRUE(SameFigures(kFailure, evaluate_expression(repeat("sin(", 1000000), "lucas")));
  EXPECT_TRUE(SameFigures(kFailure, evaluate_expression(repeat("(", 1000000) + "2", "lucas")));

  EXPECT_TRUE(SameFigures(evaluate_expression("2", "lucas"),
                          evaluate_expression(repeat("(", kLimit) + "2", "lucas")));
  EXPECT_TRUE(SameFigures(kFailure, evaluate_expression(repeat("(", kLimit + 1) + "2", "lucas")));
  EXPECT_TRUE(SameFigures(evaluate_expression("abs(2)", "lucas"),
                          evaluate_expression(repeat("abs(", kLimit) + "2", "lucas")));
  EXPECT_TRUE(
      SameFigures(kFailure, evaluate_expression(repeat("abs(", kLimit + 1) + "2", "lucas")));
  // A second argument sits at the same depth as the first.
  EXPECT_FALSE(
      std::isnan(evaluate_expression(repeat("(", kLimit - 1) + "pow(2, 3)", "lucas").value));
  // Depth is released on the way out: many shallow groups in a row are fine.
  EXPECT_FALSE(std::isnan(evaluate_expression(repeat("(2)+", 10000) + "2", "lucas").value));
}

}  // namespace
}  // namespace kalvex
