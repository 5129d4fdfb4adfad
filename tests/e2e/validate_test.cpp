#include <gtest/gtest.h>

#include <string>

#include "expected_document.hpp"
#include "kalvex_process.hpp"

namespace kalvex::e2e {
namespace {

const std::string lucas_report =
    "kalvex validate - domain=hawking zone=lucas precision=-\n"
    "  reference (MPFR-256): 6.169874e-8\n"
    "  kalvex:               6.168430e-8   error 0.0234%   drift 0.749\n"
    "  IEEE-754:             6.168430e-8   error 0.0234%\n"
    "  RESULT: PASS  (tolerance 1%, trust PRECISE)\n";

const std::string lucas_document = with_notices(R"({
  "copyright": "@COPYRIGHT@",
  "domain": "hawking",
  "engine": "Kalvex",
  "ieee754": {
    "error_pct": 0.023405931740617853,
    "value": 6.168429712630829e-8
  },
  "kalvex": {
    "drift": 0.7493815974560012,
    "error_pct": 0.02340593174001723,
    "value": 6.168429712630866e-8
  },
  "kind": "validate",
  "patent": "@PATENT@",
  "precision_requested": null,
  "reference_mpfr256": 6.169873829087747e-8,
  "result": "PASS",
  "tolerance_pct": 1.0,
  "trust": "PRECISE",
  "zone": "lucas"
})");

const std::string sinh_report =
    "kalvex validate - domain=hawking zone=sinh precision=60\n"
    "  reference (MPFR-256): 6.169874e-8\n"
    "  kalvex:               1.000000e2   error 162077868540.6065%   drift 0.098\n"
    "  IEEE-754:             6.168430e-8   error 0.0234%\n"
    "  RESULT: FAIL  (tolerance 1%, trust UNRELIABLE)\n";

const std::string sinh_document = with_notices(R"({
  "copyright": "@COPYRIGHT@",
  "domain": "hawking",
  "engine": "Kalvex",
  "ieee754": {
    "error_pct": 0.023405931740617853,
    "value": 6.168429712630829e-8
  },
  "kalvex": {
    "drift": 0.09830418461783895,
    "error_pct": 162077868540.60654,
    "value": 100.0
  },
  "kind": "validate",
  "patent": "@PATENT@",
  "precision_requested": "60",
  "reference_mpfr256": 6.169873829087747e-8,
  "result": "FAIL",
  "tolerance_pct": 1.0,
  "trust": "UNRELIABLE",
  "zone": "sinh"
})");

std::string no_reference_document(const std::string& domain) {
  return with_notices(R"({
  "copyright": "@COPYRIGHT@",
  "domain": ")" + domain + R"(",
  "engine": "Kalvex",
  "kind": "validate",
  "patent": "@PATENT@",
  "status": "no_reference",
  "supported": [
    "hawking"
  ]
})");
}

std::string no_reference_message(const std::string& domain) {
  return "kalvex validate: no built-in reference for domain '" + domain +
         "'. Built-in validation reference is available for: hawking. Use `kalvex compute --domain " +
         domain + " --params ...` for a drift-tracked result.\n";
}

TEST(Validate, DefaultRunPassesWithItsReportAndDocument) {
  // "--domain" as the last argument counts as absent, so hawking is validated.
  for (const auto& args : {std::vector<std::string>{"validate"},
                           std::vector<std::string>{"validate", "stray", "--input", "x.json", "--domain"}}) {
    const RunResult result = run_kalvex(args);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, lucas_report);
    EXPECT_EQ(result.out, lucas_document + "\n");
  }
}

TEST(Validate, FailingZoneEndsWithStatusThreeAndTheFullDocument) {
  const RunResult result = run_kalvex({"validate", "--zone", "sinh", "--precision", "60"});
  EXPECT_EQ(result.status, 3);
  EXPECT_EQ(result.err, sinh_report);
  EXPECT_EQ(result.out, sinh_document + "\n");
}

TEST(Validate, UnknownZoneNameRunsAsLucasAndIsEchoed) {
  const RunResult result = run_kalvex({"validate", "--zone", "Lucas", "--precision", ""});
  EXPECT_EQ(result.status, 0);
  std::string report = lucas_report;
  report.replace(report.find("zone=lucas precision=-"), 22, "zone=Lucas precision=");
  EXPECT_EQ(result.err, report);
  std::string document = lucas_document;
  document.replace(document.find("\"precision_requested\": null"), 27, "\"precision_requested\": \"\"");
  document.replace(document.find("\"zone\": \"lucas\""), 15, "\"zone\": \"Lucas\"");
  EXPECT_EQ(result.out, document + "\n");
}

TEST(Validate, DomainWithoutReferenceEndsWithStatusOne) {
  for (const std::string domain : {"HAWKING", "", "wien"}) {
    const RunResult result = run_kalvex({"validate", "--domain", domain, "--zone", "sinh"});
    EXPECT_EQ(result.status, 1) << domain;
    EXPECT_EQ(result.err, no_reference_message(domain));
    EXPECT_EQ(result.out, no_reference_document(domain) + "\n");
  }
}

TEST(Validate, OutputFileGetsTheDocumentAfterTheReport) {
  TempDir dir;
  const RunResult result = run_kalvex({"validate", "--output", "v.json"}, RunOptions{dir.path()});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, lucas_report + "[kalvex] wrote v.json\n");
  EXPECT_EQ(read_file(dir.path() / "v.json"), lucas_document);
}

TEST(Validate, UnwritableOutputWinsOverTheFailStatus) {
  TempDir dir;
  const RunResult fail = run_kalvex({"validate", "--zone", "sinh", "--precision", "60", "--output", "no/such/v.json"},
                                    RunOptions{dir.path()});
  EXPECT_EQ(fail.status, 1);
  EXPECT_EQ(fail.out, "");
  EXPECT_EQ(fail.err, sinh_report + "kalvex: could not write no/such/v.json\n");

  const RunResult no_reference = run_kalvex({"validate", "--domain", "x", "--output", "no/such/v.json"},
                                            RunOptions{dir.path()});
  EXPECT_EQ(no_reference.status, 1);
  EXPECT_EQ(no_reference.err, no_reference_message("x") + "kalvex: could not write no/such/v.json\n");
}

}  // namespace
}  // namespace kalvex::e2e
