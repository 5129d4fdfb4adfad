#include "builtins.hpp"

#include <array>
#include <cmath>
#include <limits>

#include "math_calls.hpp"
#include "physical_constants.hpp"

namespace kalvex::engine {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// One name of the language standing for a constant.
struct BuiltinConstant {
  std::string_view name;
  double value;
};

// The 23 constants. Four quantities have a second name differing in case, and
// R and r_gas are one value under two names.
constexpr std::array<BuiltinConstant, 23> kConstants{{
    {"c", kC},
    {"e", kElementaryCharge},
    {"h", kH},
    {"G", kG},
    {"R", kGasR},
    {"kb", kKb},
    {"kB", kKb},
    {"na", kAvogadro},
    {"NA", kAvogadro},
    {"me", kElectronMass},
    {"mp", kProtonMass},
    {"pi", kPi},
    {"PI", kPi},
    {"a0", kBohrRadius},
    {"tau", k2Pi},
    {"phi", kPhi},
    {"inf", kInf},
    {"Inf", kInf},
    {"hbar", kHbar},
    {"sigma", kSigma},
    {"alpha", kAlpha},
    {"r_inf", kRydberg},
    {"r_gas", kGasR},
}};

// The logarithms scale the drift by the argument's magnitude, kept from zero
// (and from NaN) by a floor of 1e-300.
double drift_over_magnitude(double x, double d, double) {
  const double m = std::fabs(x);
  return d / (m > 1e-300 ? m : 1e-300);
}
double drift_kept(double, double d, double) { return d; }

// One function of the language: y from the decoded first argument x (and p,
// the decoded second argument or 1.0, read by pow alone), and the drift that
// replaces the fresh remainder of y's encoding, from x, the first argument's
// drift d and p.
struct BuiltinFunction {
  std::string_view name;
  double (*value)(double x, double p);
  double (*drift)(double x, double d, double p);
};

// The 14 functions.
constexpr std::array<BuiltinFunction, 14> kFunctions{{
    {"ln", [](double x, double) { return cmath::log(x); }, drift_over_magnitude},
    {"log", [](double x, double) { return cmath::log10(x); }, drift_over_magnitude},
    {"log10", [](double x, double) { return cmath::log10(x); }, drift_over_magnitude},
    {"log2", [](double x, double) { return cmath::log2(x); }, drift_over_magnitude},
    {"exp", [](double x, double) { return cmath::exp(x); },
     [](double x, double d, double) { return d * std::fabs(x); }},
    {"sqrt", [](double x, double) { return cmath::sqrt(x); },
     [](double, double d, double) { return d * 0.1; }},
    {"abs", [](double x, double) { return std::fabs(x); }, drift_kept},
    {"sin", [](double x, double) { return cmath::sin(x); }, drift_kept},
    {"cos", [](double x, double) { return cmath::cos(x); }, drift_kept},
    {"tan", [](double x, double) { return cmath::tan(x); }, drift_kept},
    {"floor", [](double x, double) { return cmath::floor(x); }, drift_kept},
    {"ceil", [](double x, double) { return cmath::ceil(x); }, drift_kept},
    {"round", [](double x, double) { return cmath::round(x); }, drift_kept},
    {"pow", [](double x, double p) { return cmath::pow(x, p); },
     [](double, double d, double p) { return d * std::fabs(p); }},
}};

}  // namespace

std::optional<double> find_constant(std::string_view name) {
  for (const BuiltinConstant& c : kConstants) {
    if (c.name == name) return c.value;
  }
  return std::nullopt;
}

std::optional<TrackedValue> apply_function(std::string_view name, const TrackedValue& first,
                                           const std::optional<TrackedValue>& second,
                                           const Zone& zone) {
  for (const BuiltinFunction& f : kFunctions) {
    if (f.name != name) continue;
    const double x = decode_value(first, zone);
    const double p = second ? decode_value(*second, zone) : 1.0;
    TrackedValue r = encode_value(f.value(x, p), zone);
    // The function's own drift replaces the remainder of the fresh encoding.
    r.drift = f.drift(x, first.drift, p);
    return r;
  }
  return std::nullopt;
}

}  // namespace kalvex::engine
