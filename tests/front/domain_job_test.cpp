#include "domain_job.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "kalvex/engine.hpp"
#include "result_document.hpp"
#include "trust_verdict.hpp"
#include "written_document.hpp"

namespace kalvex {
namespace {

DomainParams params_of(const char* text) { return domain_params_from_json(parse_json(text)); }

TEST(DomainParams, NumbersOfAnArrayInOrderOfAnObjectInKeyOrder) {
  struct Case {
    const char* text;
    DomainParams expected;
  };
  const Case cases[] = {
      {"[1.989e30]", {1.989e30}},
      {"[1, \"s\", null, 2.5, true, [3], {\"a\": 4}]", {1.0, 2.5}},
      {"{\"b\": 2, \"a\": 1}", {1.0, 2.0}},
      {"{\"a\": 1, \"b\": \"x\"}", {1.0}},
      {"[9007199254740993, -9223372036854775808]", {9007199254740992.0, -9223372036854775808.0}},
      {"5", {}},
      {"\"5\"", {}},
      {"true", {}},
      {"null", {}},
      {"[1e400]", {}},
      {"not json", {}},
      {"[]", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(params_of(c.text), c.expected) << c.text;
  const DomainParams negative_zero = params_of("[-0]");
  ASSERT_EQ(negative_zero.size(), 1u);
  EXPECT_TRUE(std::signbit(negative_zero[0]));
}

TEST(DomainParams, RecognisedNamesAreExactlyTheNine) {
  for (const char* name : {"wien", "e_mc2", "hawking", "coulomb", "de_broglie", "bohr_energy",
                           "planck_energy", "schwarzschild", "stefan_boltzmann"}) {
    EXPECT_TRUE(is_recognized_domain(name)) << name;
  }
  for (const char* name : {"gravity", "compton", "kinetic_energy", "thermal_debroglie",
                           "relativistic_energy", "Hawking", "hawking ", ""}) {
    EXPECT_FALSE(is_recognized_domain(name)) << name;
  }
}

TEST(DomainJob, FourteenMembersWithTheEnginesFigures) {
  // Value-and-drift pairs, so that the tracked side computes the force.
  const DomainParams params = {5.0, 0.0, 1.989e30, 0.0, 3.0, 0.0};
  const JsonValue document = written(build_domain_result("gravity", params, "zonk", "60"));
  std::vector<std::string> keys;
  for (const auto& [key, value] : document.items()) keys.push_back(key);
  EXPECT_EQ(keys, (std::vector<std::string>{"copyright", "domain", "drift", "engine", "ieee754", "kind",
                                            "params", "patent", "precision_requested",
                                            "rel_uncertainty_pct", "status", "trust", "value", "zone"}));
  const DomainFigures figures = compute_domain("gravity", params, "zonk");
  EXPECT_EQ(document.at("ieee754"), json_double(figures.ieee754));
  EXPECT_EQ(document.at("value"), json_double(figures.value));
  EXPECT_EQ(document.at("drift"), json_double(figures.drift));
  EXPECT_EQ(document.at("rel_uncertainty_pct"), json_double(figures.rel_uncertainty_pct));
  EXPECT_EQ(document.at("trust"), trust_verdict(figures.value, figures.rel_uncertainty_pct));
  EXPECT_EQ(document.at("status"), "unknown_domain");
  EXPECT_EQ(document.at("domain"), "gravity");
  EXPECT_EQ(document.at("zone"), "zonk");
  EXPECT_EQ(document.at("precision_requested"), "60");
  ASSERT_EQ(document.at("params").size(), 6u);
  EXPECT_TRUE(document.at("params")[0].is_number_float());
  EXPECT_EQ(document.at("params")[0], 5.0);
  EXPECT_NE(figures.value, 0.0);  // the engine computes gravity although it is not recognised
}

TEST(DomainJob, StatusDependsOnTheNameAlone) {
  const JsonValue hawking = written(build_domain_result("hawking", {}, "lucas", std::nullopt));
  EXPECT_EQ(hawking.at("status"), "ok");
  EXPECT_EQ(hawking.at("params"), JsonValue::array());
  EXPECT_TRUE(hawking.at("precision_requested").is_null());

  // A name outside the catalogue: four zeros, which the verdict calls PRECISE.
  for (const char* name : {"Hawking", ""}) {
    const JsonValue unknown = written(build_domain_result(name, {}, "lucas", std::nullopt));
    for (const char* key : {"ieee754", "value", "drift", "rel_uncertainty_pct"}) {
      EXPECT_EQ(unknown.at(key), 0.0) << name << " " << key;
    }
    EXPECT_EQ(unknown.at("trust"), "PRECISE");
    EXPECT_EQ(unknown.at("status"), "unknown_domain");
  }
}

}  // namespace
}  // namespace kalvex
