#include "builtins.hpp"

#include <array>
#include <cmath>
#include <limits>

#include "math_calls.hpp"

namespace kalvex::engine {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

constexpr std::array<BuiltinConstant, 23> kConstants{{
    {"c", 299792458.0},
    {"e", 1.602176634e-19},
    {"h", 6.62607015e-34},
    {"G", 6.6743e-11},
    {"R", 8.314462618},
    {"kb", 1.380649e-23},
    {"kB", 1.380649e-23},
    {"na", 6.02214076e23},
    {"NA", 6.02214076e23},
    {"me", 9.1093837015e-31},
    {"mp", 1.67262192369e-27},
    {"pi", 3.141592653589793},
    {"PI", 3.141592653589793},
    {"a0", 5.29177210903e-11},
    {"tau", 6.283185307179586},
    {"phi", 1.6180339887},
    {"inf", kInf},
    {"Inf", kInf},
    {"hbar", 1.054571817e-34},
    {"sigma", 5.670374419e-08},
    {"alpha", 0.0072973525693},
    {"r_inf", 10973731.56816},
    {"r_gas", 8.314462618},
}};

// The logarithms scale the drift by the argument's magnitude, kept from zero
// (and from NaN) by a floor of 1e-300.
double drift_over_magnitude(double x, double d, double) {
  const double m = std::fabs(x);
  return d / (m > 1e-300 ? m : 1e-300);
}
double drift_kept(double, double d, double) { return d; }

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

std::span<const BuiltinConstant> builtin_constants() { return kConstants; }

std::optional<double> find_constant(std::string_view name) {
  for (const BuiltinConstant& c : kConstants) {
    if (c.name == name) return c.value;
  }
  return std::nullopt;
}

std::span<const BuiltinFunction> builtin_functions() { return kFunctions; }

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
