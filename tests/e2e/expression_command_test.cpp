#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "expected_document.hpp"
#include "json_text.hpp"
#include "kalvex_process.hpp"

namespace kalvex::e2e {
namespace {

const std::string unsupported = "unsupported: unknown identifier or function in expression";

// Runs kalvex compute with `args`, in the fixtures directory so that fixture
// files can be named as relative paths; expects a document on standard output
// and nothing else, and gives the document back.
JsonValue computed_document(const std::vector<std::string>& args) {
  std::vector<std::string> full = {"compute"};
  full.insert(full.end(), args.begin(), args.end());
  const RunResult result = run_kalvex(full, RunOptions{KALVEX_E2E_FIXTURES});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  const auto document = parse_json(result.out);
  EXPECT_TRUE(document.has_value()) << result.out;
  if (!document) return JsonValue();
  // The document is the writer's own indented form, followed by one newline.
  EXPECT_EQ(result.out, to_pretty_json(*document) + "\n");
  return *document;
}

TEST(ExpressionCommand, LabelAndParametersInlineOrFromAFile) {
  const JsonValue inline_params = computed_document({"--expression", "E = D*C^2", "--params", R"({"D": 1.0, "C": 2.99e8})"});
  std::vector<std::string> keys;
  for (const auto& [key, value] : inline_params.items()) keys.push_back(key);
  EXPECT_EQ(keys, (std::vector<std::string>{"copyright", "drift", "engine", "evaluated", "expression", "kind",
                                            "label", "note", "patent", "precision_requested",
                                            "rel_uncertainty_pct", "status", "trust", "value", "zone"}));
  EXPECT_EQ(inline_params.at("label"), "E");
  EXPECT_EQ(inline_params.at("expression"), "E = D*C^2");
  EXPECT_EQ(inline_params.at("evaluated"), "(1.00000000000000000e0)*(2.99000000000000000e8)^2");
  EXPECT_EQ(inline_params.at("zone"), "lucas");
  EXPECT_TRUE(inline_params.at("precision_requested").is_null());
  EXPECT_EQ(inline_params.at("status"), "ok");
  EXPECT_EQ(inline_params.at("trust"), "PRECISE");
  EXPECT_NEAR(inline_params.at("value").get<double>(), 8.9401e16, 1e12);

  // The same object in a file named by a relative path gives the same document.
  EXPECT_EQ(computed_document({"--expression", "E = D*C^2", "--params", "domain.json"}), inline_params);

  // A file that holds no JSON gives no parameters, and is not read as JSON text.
  const JsonValue no_params = computed_document({"--expression", "E = D*C^2", "--params", "not_json.txt"});
  EXPECT_EQ(no_params.at("evaluated"), "D*C^2");
  EXPECT_EQ(no_params.at("status"), unsupported);
}

TEST(ExpressionCommand, WhatTheEngineCannotEvaluateIsADocumentWithStatusZero) {
  const RunResult result = run_kalvex({"compute", "--expression", "x = y"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out, with_notices(R"({
  "copyright": "@COPYRIGHT@",
  "drift": 0.0,
  "engine": "Kalvex",
  "evaluated": "y",
  "expression": "x = y",
  "kind": "compute",
  "label": "x",
  "note": "Kalvex precision is drift-tracked, not fixed-digit; trust is derived from the engine's own drift, not a claimed digit count.",
  "patent": "@PATENT@",
  "precision_requested": null,
  "rel_uncertainty_pct": 0.0,
  "status": "unsupported: unknown identifier or function in expression",
  "trust": "ERROR",
  "value": null,
  "zone": "lucas"
}
)"));

  for (const char* expression : {"", "1e400", "a="}) {
    const JsonValue document = computed_document({"--expression", expression});
    EXPECT_TRUE(document.at("value").is_null()) << expression;
    EXPECT_EQ(document.at("trust"), "ERROR") << expression;
    EXPECT_EQ(document.at("status"), unsupported) << expression;
  }
}

// The README's example, byte for byte: on standard output with its newline,
// and in an output file without it.
TEST(ExpressionCommand, ReadmeExampleIsItsGoldenDocument) {
  const std::string golden = fixture("readme_e_mc2.golden");
  const std::vector<std::string> args = {"compute", "--expression", "E = m*c^2", "--params", R"({"m": 2.5})"};
  const RunResult printed = run_kalvex(args);
  EXPECT_EQ(printed.status, 0);
  EXPECT_EQ(printed.err, "");
  EXPECT_EQ(printed.out, golden);

  TempDir dir;
  std::vector<std::string> to_file = args;
  to_file.insert(to_file.end(), {"--output", "e.json"});
  const RunResult written = run_kalvex(to_file, RunOptions{dir.path()});
  EXPECT_EQ(written.status, 0);
  EXPECT_EQ(written.out, "");
  EXPECT_EQ(read_file(dir.path() / "e.json"), golden.substr(0, golden.size() - 1));
}

TEST(ExpressionCommand, UnusableParametersAreNoError) {
  for (const char* params : {R"({"m": "2"})", R"({"m": true})", "[1,2]", "5", "null", "", R"({"M": 2})",
                             R"({"m": 1e400})", R"({"m": 2, "m": "x"})", "."}) {
    const JsonValue document = computed_document({"--expression", "2*m", "--params", params});
    EXPECT_EQ(document.at("evaluated"), "2*m") << params;
    EXPECT_EQ(document.at("status"), unsupported) << params;
  }
  EXPECT_EQ(computed_document({"--expression", "2*m", "--params", R"({"m": 1, "m": -0})"}).at("evaluated"),
            "2*(-0.00000000000000000e0)");
}

TEST(ExpressionCommand, OptionsAreTakenAsTheyStand) {
  // An expression starting with "-", zone and precision echoed unchanged, and
  // --domain ignored once --expression is there.
  const JsonValue document = computed_document({"--domain", "wien", "--expression", "-2*x", "--params",
                                                R"({"x": 1})", "--zone", "foo", "--precision", "60"});
  EXPECT_EQ(document.at("evaluated"), "-2*(1.00000000000000000e0)");
  EXPECT_EQ(document.at("zone"), "foo");
  EXPECT_EQ(document.at("precision_requested"), "60");
  EXPECT_EQ(document.at("status"), "ok");
  EXPECT_FALSE(document.contains("domain"));

  const JsonValue empty_precision = computed_document({"--expression", "  2*3 # r\xC3\xA9sum\xC3\xA9 ", "--precision", ""});
  EXPECT_EQ(empty_precision.at("precision_requested"), "");
  EXPECT_EQ(empty_precision.at("expression"), "  2*3 # r\xC3\xA9sum\xC3\xA9 ");
  EXPECT_EQ(empty_precision.at("evaluated"), "2*3 # r\xC3\xA9sum\xC3\xA9");
  EXPECT_EQ(empty_precision.at("status"), "ok");
}

TEST(ExpressionCommand, OutputFileHoldsTheDocumentWithoutNewline) {
  TempDir dir;
  const RunResult written = run_kalvex({"compute", "--expression", "x = y", "--output", "out.json"}, RunOptions{dir.path()});
  EXPECT_EQ(written.status, 0);
  EXPECT_EQ(written.out, "");
  EXPECT_EQ(written.err, "[kalvex] wrote out.json\n");
  const auto content = read_file(dir.path() / "out.json");
  ASSERT_TRUE(content.has_value());
  EXPECT_EQ(*content, to_pretty_json(parse_json(*content).value_or(JsonValue())));

  const RunResult unwritable = run_kalvex({"compute", "--expression", "1", "--output", "missing/out.json"},
                                          RunOptions{dir.path()});
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_EQ(unwritable.out, "");
  EXPECT_EQ(unwritable.err, "kalvex: could not write missing/out.json\n");
}

TEST(ComputeCommand, WithoutASelectorTheRunFails) {
  for (const auto& args : {std::vector<std::string>{"compute"}, std::vector<std::string>{"compute", "--expression"},
                           std::vector<std::string>{"compute", "--domain"},
                           std::vector<std::string>{"compute", "help", "--zone", "sinh", "--params", "{}"}}) {
    const RunResult result = run_kalvex(args);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "kalvex compute: need --input, --expression, or --domain\n");
  }
}

}  // namespace
}  // namespace kalvex::e2e
