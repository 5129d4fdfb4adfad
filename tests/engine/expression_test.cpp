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
      // The logarithms divide the drift by the argument's magnitude, also where
      // the argument is negative and the logarithm NaN.
      {"ln(-2)", "lucas", {kNaN, 0.36806685402825673, 0.04140230832001365}},
      // Every function, in lucas and in sinh, at an argument where its nearest
      // wrong neighbour gives other figures: ln, log10 and log2 all differ;
      // exp and pow scale the drift by |x| and |p|, here of a negative x and p;
      // sin, cos and tan differ at 1; at -1.2 and 1.2 floor, ceil, trunc and
      // round do not all agree. round takes halves away from zero: floor
      // differs from it at 16.5, ceil at -16.5 (both decode exactly in both
      // zones).
      {"ln(2)", "lucas", {0.6931471805599455, 0.36806685402825673, 0.04140230832001365}},
      {"ln(2)", "sinh", {0.6931471805599453, 0.012273974714616998, 0.0013806483248491913}},
      {"log(50)", "lucas", {1.6989700043360185, 0.011943992505539429, 0.0013435299997111721}},
      {"log(50)", "sinh", {1.6989700043360187, 0.015926285378154718, 0.0017914815485348362}},
      {"log10(50)", "lucas", {1.6989700043360185, 0.011943992505539429, 0.0013435299997111721}},
      {"log10(50)", "sinh", {1.6989700043360187, 0.015926285378154718, 0.0017914815485348362}},
      {"log2(10)", "lucas", {3.3219280948873604, 0.06666666666665151, 0.0074990558312767385}},
      {"log2(10)", "sinh", {3.3219280948873617, 0.04371861096705061, 0.004917724567617818}},
      {"exp(-2)", "lucas", {0.13533528323661262, 1.4722674161130274, 0.16560923328005464}},
      {"exp(-2)", "sinh", {0.1353352832366127, 0.04909589885846799, 0.005522593299396765}},
      {"sqrt(2)", "lucas", {1.4142135623730951, 0.07361337080565136, 0.008280461664002732}},
      {"sqrt(2)", "sinh", {1.4142135623730951, 0.0024547949429233997, 0.0002761296649698383}},
      {"abs(-2.5)", "lucas", {2.499999999999999, 0.8610659172202304, 0.09685772081468234}},
      {"abs(-2.5)", "sinh", {2.5, 0.15580696210284373, 0.017526076615666644}},
      {"sin(1)", "lucas", {0.8414709848078963, 0.33333333333325754, 0.03749527915638368}},
      {"sin(1)", "sinh", {0.8414709848078965, 0.27831767170278, 0.03130679638395857}},
      {"cos(1)", "lucas", {0.5403023058681398, 0.33333333333325754, 0.03749527915638368}},
      {"cos(1)", "sinh", {0.5403023058681398, 0.27831767170278, 0.03130679638395857}},
      {"tan(1)", "lucas", {1.557407724654902, 0.33333333333325754, 0.03749527915638368}},
      {"tan(1)", "sinh", {1.5574077246549023, 0.27831767170278, 0.03130679638395857}},
      {"floor(-1.2)", "lucas", {-2.0000000000000004, 0.36133688649601936, 0.04064528228600956}},
      {"floor(-1.2)", "sinh", {-2.0, 0.4775828904810169, 0.05372131139670726}},
      {"ceil(1.2)", "lucas", {2.0000000000000004, 0.36133688649601936, 0.04064528228600956}},
      {"ceil(1.2)", "sinh", {2.0, 0.4775828904810169, 0.05372131139670726}},
      {"round(16.5)", "lucas", {17.000000000000007, 0.06321126862212623, 0.007110372488448955}},
      {"round(16.5)", "sinh", {17.0, 0.38636802584721863, 0.043460930958736876}},
      {"round(-16.5)", "lucas", {-17.000000000000007, 0.06321126862212623, 0.007110372488448955}},
      {"round(-16.5)", "sinh", {-17.0, 0.38636802584721863, 0.043460930958736876}},
      {"pow(2, -3)", "lucas", {0.12499999999999994, 2.2084011241695403, 0.2484138499200819}},
      {"pow(2, -3)", "sinh", {0.125, 0.07364384828770199, 0.008283889949095149}},
      // Every constant is encoded like a literal of its value; sinh holds most
      // of them at one end of its range.
      {"c", "lucas", {299792457.99999994, 0.7629947233668872, 0.08582610044248706}},
      {"c", "sinh", {100.0, 0.0, 0.0}},
      {"e", "lucas", {1.602176633999995e-19, 0.003834179592104192, 0.0004312909024250662}},
      {"e", "sinh", {1e-10, 0.5, 0.05624291873458832}},
      {"h", "lucas", {6.626070150000036e-34, 0.7839495693569916, 0.08818322384272158}},
      {"h", "sinh", {1e-10, 0.5, 0.05624291873458832}},
      {"G", "lucas", {6.674300000000002e-11, 0.8896290818586863, 0.10007067230980904}},
      {"G", "sinh", {1e-10, 0.5, 0.05624291873458832}},
      {"R", "lucas", {8.314462618000002, 0.9668589360967417, 0.10875793714139913}},
      {"R", "sinh", {8.314462617999999, 0.18658800889858185, 0.020988508442663163}},
      {"kb", "lucas", {1.3806489999999998e-23, 0.6136799674859503, 0.06903030508071423}},
      {"kb", "sinh", {1e-10, 0.5, 0.05624291873458832}},
      {"kB", "lucas", {1.3806489999999998e-23, 0.6136799674859503, 0.06903030508071423}},
      {"kB", "sinh", {1e-10, 0.5, 0.05624291873458832}},
      {"na", "lucas", {6.0221407599999824e+23, 0.5590997438480372, 0.06289080291554859}},
      {"na", "sinh", {100.0, 0.0, 0.0}},
      {"NA", "lucas", {6.0221407599999824e+23, 0.5590997438480372, 0.06289080291554859}},
      {"NA", "sinh", {100.0, 0.0, 0.0}},
      {"me", "lucas", {9.109383701499976e-31, 0.6707763356557734, 0.0754528378707452}},
      {"me", "sinh", {1e-10, 0.5, 0.05624291873458832}},
      {"mp", "lucas", {1.6726219236899958e-27, 0.7541150717956953, 0.08482726539906706}},
      {"mp", "sinh", {1e-10, 0.5, 0.05624291873458832}},
      {"pi", "lucas", {3.1415926535897922, 0.5552631349638659, 0.062459238752170916}},
      {"pi", "sinh", {3.1415926535897927, 0.24657096445264415, 0.027735741432038264}},
      {"PI", "lucas", {3.1415926535897922, 0.5552631349638659, 0.062459238752170916}},
      {"PI", "sinh", {3.1415926535897927, 0.24657096445264415, 0.027735741432038264}},
      {"a0", "lucas", {5.2917721090299966e-11, 0.30287979244218377, 0.03406968710534944}},
      {"a0", "sinh", {1e-10, 0.5, 0.05624291873458832}},
      {"tau", "lucas", {6.283185307179585, 0.9580635096870083, 0.10776857623580176}},
      {"tau", "sinh", {6.283185307179586, 0.9858182973980547, 0.11089059677525802}},
      {"phi", "lucas", {1.6180339886999997, 0.9325665214308856, 0.10490052615887004}},
      {"phi", "sinh", {1.6180339887, 0.7479626441431719, 0.08413520442210444}},
      {"inf", "lucas", {kInf, 0.0, 0.0}},
      {"inf", "sinh", {100.0, 0.0, 0.0}},
      {"Inf", "lucas", {kInf, 0.0, 0.0}},
      {"Inf", "sinh", {100.0, 0.0, 0.0}},
      {"hbar", "lucas", {1.054571817000002e-34, 0.013161176369521854, 0.0014804459460052036}},
      {"hbar", "sinh", {1e-10, 0.5, 0.05624291873458832}},
      {"sigma", "lucas", {5.670374418999995e-08, 0.9108062174793758, 0.10245280014530064}},
      {"sigma", "sinh", {5.670374418999995e-08, 0.47564861913338063, 0.05350373326427576}},
      {"alpha", "lucas", {0.007297352569299999, 0.44971480590368174, 0.050586546564363864}},
      {"alpha", "sinh", {0.007297352569299999, 0.28398585110494423, 0.03194438629093655}},
      {"r_inf", "lucas", {10973731.568160003, 0.6513296970076432, 0.07326536643644982}},
      {"r_inf", "sinh", {100.0, 0.0, 0.0}},
      {"r_gas", "lucas", {8.314462618000002, 0.9668589360967417, 0.10875793714139913}},
      {"r_gas", "sinh", {8.314462617999999, 0.18658800889858185, 0.020988508442663163}},
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
