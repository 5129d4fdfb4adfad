#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "expected_document.hpp"
#include "kalvex_process.hpp"

namespace kalvex::e2e {
namespace {

const std::string hawking_document = with_notices(R"({
  "copyright": "@COPYRIGHT@",
  "domain": "hawking",
  "drift": 0.7398986382457141,
  "engine": "Kalvex",
  "ieee754": 6.168429712630829e-8,
  "kind": "compute",
  "params": [
    1.989e+30
  ],
  "patent": "@PATENT@",
  "precision_requested": null,
  "rel_uncertainty_pct": 0.08322811796537252,
  "status": "ok",
  "trust": "PRECISE",
  "value": 6.168429712630866e-8,
  "zone": "lucas"
})");

// A name outside the engine's catalogue: four zeros and "unknown_domain".
std::string unknown_document(const std::string& name, const std::string& params, const std::string& zone) {
  return with_notices(R"({
  "copyright": "@COPYRIGHT@",
  "domain": ")" + name + R"(",
  "drift": 0.0,
  "engine": "Kalvex",
  "ieee754": 0.0,
  "kind": "compute",
  "params": )" + params + R"(,
  "patent": "@PATENT@",
  "precision_requested": "60",
  "rel_uncertainty_pct": 0.0,
  "status": "unknown_domain",
  "trust": "PRECISE",
  "value": 0.0,
  "zone": ")" + zone + R"("
})");
}

RunResult compute(const std::vector<std::string>& args) {
  std::vector<std::string> full = {"compute"};
  full.insert(full.end(), args.begin(), args.end());
  return run_kalvex(full, RunOptions{KALVEX_E2E_FIXTURES});
}

TEST(DomainCommand, RecognisedFormulaWithItsFigures) {
  const RunResult result = compute({"--domain", "hawking", "--params", "[1.989e30]"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out, hawking_document + "\n");
}

TEST(DomainCommand, WithoutParametersTheEngineGetsAnEmptyList) {
  // The plain side divides by zero: "ieee754" alone is null.
  const RunResult result = compute({"--domain", "hawking"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, with_notices(R"({
  "copyright": "@COPYRIGHT@",
  "domain": "hawking",
  "drift": 0.0,
  "engine": "Kalvex",
  "ieee754": null,
  "kind": "compute",
  "params": [],
  "patent": "@PATENT@",
  "precision_requested": null,
  "rel_uncertainty_pct": 0.0,
  "status": "ok",
  "trust": "PRECISE",
  "value": 0.0,
  "zone": "lucas"
}
)"));
}

TEST(DomainCommand, UnknownNamesAndTheParametersTheyGet) {
  struct Case {
    std::vector<std::string> args;
    std::string name;
    std::string params;
  };
  const Case cases[] = {
      {{"--domain", "Hawking"}, "Hawking", "[]"},
      {{"--domain", ""}, "", "[]"},
      // Only the numbers of an array (nested ones not searched); an object's
      // values in key order; a bare number gives nothing.
      {{"--domain", "x", "--params", "mixed_params.json"}, "x", "[\n    1.0,\n    2.5\n  ]"},
      {{"--domain", "x", "--params", R"({"b": 2, "a": -0})"}, "x", "[\n    -0.0,\n    2.0\n  ]"},
      {{"--domain", "x", "--params", "5"}, "x", "[]"},
      {{"--domain", "x", "--params", "[5, 1e400]"}, "x", "[]"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--precision", "60", "--zone", "nowhere"});
    const RunResult result = compute(args);
    EXPECT_EQ(result.status, 0) << c.name;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, unknown_document(c.name, c.params, "nowhere") + "\n");
  }
}

}  // namespace
}  // namespace kalvex::e2e
