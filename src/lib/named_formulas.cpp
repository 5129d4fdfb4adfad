#include "named_formulas.hpp"

#include <array>

#include "kalvex/engine.hpp"
#include "math_calls.hpp"
#include "physical_constants.hpp"
#include "tracked_arithmetic.hpp"

namespace kalvex::engine {

namespace {

// Plain factors of the formulas; the tracked side encodes them like the
// physical constants.
constexpr double kHalf = 0.5;
constexpr double kOne = 1.0;

// The plain side's p_i: 0.0 past the end of the list.
double p(DomainParams params, std::size_t i) { return i < params.size() ? params[i] : 0.0; }

// The Lorentz term g = 1 - (v/c)^2, worked out in plain doubles and shared by
// both sides of relativistic_energy.
double lorentz_g(DomainParams params) {
  const double v = p(params, 1) / kC;
  return 1.0 - (v * v);
}

// Shorthands for the tracked side, all in one zone.
struct Tracked {
  DomainParams params;
  const Zone& zone;
  TrackedValue E(double x) const { return encode_value(x, zone); }
  TrackedValue in(std::size_t k) const { return tracked_param(params, k, zone); }
  TrackedValue mul(const TrackedValue& a, const TrackedValue& b) const {
    return tracked_mul(a, b, zone);
  }
  TrackedValue div(const TrackedValue& a, const TrackedValue& b) const {
    return tracked_div(a, b, zone);
  }
  TrackedValue powi(const TrackedValue& a, std::int32_t n) const {
    return tracked_powi(a, n, zone);
  }
  TrackedValue tsqrt(const TrackedValue& a) const { return tracked_sqrt(a, zone); }
};

constexpr std::array<NamedFormula, 14> kFormulas{{
    {"wien", [](DomainParams q) { return kWienB / p(q, 0); },
     [](DomainParams q, const Zone& z) {
       const Tracked t{q, z};
       return t.div(t.E(kWienB), t.in(0));
     }},
    {"e_mc2", [](DomainParams q) { return (p(q, 0) * kC) * kC; },
     [](DomainParams q, const Zone& z) {
       const Tracked t{q, z};
       return t.mul(t.in(0), t.E(kC2));
     }},
    {"hawking", [](DomainParams q) { return kHbarC3 / ((p(q, 0) * k8PiG) * kKb); },
     [](DomainParams q, const Zone& z) {
       const Tracked t{q, z};
       return t.div(t.mul(t.E(kHbar), t.powi(t.E(kC), 3)), t.mul(t.E(k8PiGKb), t.in(0)));
     }},
    {"coulomb", [](DomainParams q) { return (p(q, 1) * (p(q, 0) * kKe)) / (p(q, 2) * p(q, 2)); },
     [](DomainParams q, const Zone& z) {
       const Tracked t{q, z};
       return t.div(t.mul(t.mul(t.E(kKe), t.in(0)), t.in(1)), t.powi(t.in(2), 2));
     }},
    {"gravity", [](DomainParams q) { return (p(q, 1) * (p(q, 0) * kG)) / (p(q, 2) * p(q, 2)); },
     [](DomainParams q, const Zone& z) {
       const Tracked t{q, z};
       return t.div(t.mul(t.mul(t.E(kG), t.in(0)), t.in(1)), t.powi(t.in(2), 2));
     }},
    {"compton", [](DomainParams q) { return kH / (p(q, 0) * kC); },
     [](DomainParams q, const Zone& z) {
       const Tracked t{q, z};
       return t.div(t.E(kH), t.mul(t.in(0), t.E(kC)));
     }},
    {"de_broglie", [](DomainParams q) { return kH / (p(q, 0) * p(q, 1)); },
     [](DomainParams q, const Zone& z) {
       const Tracked t{q, z};
       return t.div(t.E(kH), t.mul(t.in(0), t.in(1)));
     }},
    {"bohr_energy", [](DomainParams q) { return kRydbergEv / (p(q, 0) * p(q, 0)); },
     [](DomainParams q, const Zone& z) {
       const Tracked t{q, z};
       return t.div(t.E(kRydbergEv), t.powi(t.in(0), 2));
     }},
    {"planck_energy", [](DomainParams q) { return p(q, 0) * kH; },
     [](DomainParams q, const Zone& z) {
       const Tracked t{q, z};
       return t.mul(t.E(kH), t.in(0));
     }},
    {"schwarzschild", [](DomainParams q) { return (p(q, 0) * k2G) / kC2; },
     [](DomainParams q, const Zone& z) {
       const Tracked t{q, z};
       return t.div(t.mul(t.E(k2G), t.in(0)), t.E(kC2));
     }},
    {"kinetic_energy", [](DomainParams q) { return ((p(q, 0) * kHalf) * p(q, 1)) * p(q, 1); },
     [](DomainParams q, const Zone& z) {
       const Tracked t{q, z};
       return t.mul(t.mul(t.E(kHalf), t.in(0)), t.powi(t.in(1), 2));
     }},
    {"stefan_boltzmann",
     [](DomainParams q) {
       return (p(q, 0) * kSigma) * ((p(q, 1) * p(q, 1)) * (p(q, 1) * p(q, 1)));
     },
     [](DomainParams q, const Zone& z) {
       const Tracked t{q, z};
       return t.mul(t.mul(t.E(kSigma), t.in(0)), t.powi(t.in(1), 4));
     }},
    {"thermal_debroglie",
     [](DomainParams q) { return kH / cmath::sqrt(((p(q, 0) * k2Pi) * kKb) * p(q, 1)); },
     [](DomainParams q, const Zone& z) {
       const Tracked t{q, z};
       return t.div(t.E(kH), t.tsqrt(t.mul(t.mul(t.E(k2PiKb), t.in(0)), t.in(1))));
     }},
    {"relativistic_energy",
     [](DomainParams q) { return ((p(q, 0) * (1.0 / cmath::sqrt(lorentz_g(q)))) * kC) * kC; },
     [](DomainParams q, const Zone& z) {
       // Only the mass is a tracked input; p1 is also the mass's drift.
       const Tracked t{q, z};
       return t.mul(t.mul(t.div(t.E(kOne), t.tsqrt(t.E(lorentz_g(q)))), t.in(0)), t.E(kC2));
     }},
}};

}  // namespace

std::span<const NamedFormula> named_formulas() { return kFormulas; }

TrackedValue tracked_param(DomainParams params, std::size_t k, const Zone& zone) {
  const double x = p(params, 2 * k);
  const double d = p(params, 2 * k + 1);
  TrackedValue v = encode_value(x, zone);
  v.drift = d;
  return v;
}

}  // namespace kalvex::engine

namespace kalvex {

DomainFigures compute_domain(std::string_view name, std::span<const double> params,
                             std::string_view zone_name) {
  const engine::Zone zone = engine::zone_from_name(zone_name);
  for (const engine::NamedFormula& f : engine::named_formulas()) {
    if (f.name != name) continue;
    const double plain = f.plain(params);
    const engine::TrackedValue r = f.tracked(params, zone);
    return {plain, engine::decode_value(r, zone), r.drift, engine::rel_uncertainty_pct(r.drift)};
  }
  // Outside the catalogue: the plain 0.0 and the zero value, decoded.
  return {0.0, 0.0, 0.0, 0.0};
}

}  // namespace kalvex
