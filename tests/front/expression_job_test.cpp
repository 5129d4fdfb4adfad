#include "expression_job.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kalvex/engine.hpp"
#include "result_document.hpp"
#include "trust_verdict.hpp"
#include "written_document.hpp"
#include "notices.hpp"

namespace kalvex {
namespace {

std::vector<std::string> keys_of(const JsonValue& document) {
  std::vector<std::string> keys;
  for (const auto& [key, value] : document.items()) keys.push_back(key);
  return keys;
}

// The figures members hold what the engine answers for the evaluated text.
void expect_figures_of(const JsonValue& document, const std::string& text) {
  const ExpressionFigures figures = evaluate_expression(text, document.at("zone").get<std::string>());
  EXPECT_EQ(document.at("value"), json_double(figures.value)) << text;
  EXPECT_EQ(document.at("drift"), json_double(figures.drift)) << text;
  EXPECT_EQ(document.at("rel_uncertainty_pct"), json_double(figures.rel_uncertainty_pct)) << text;
  EXPECT_EQ(document.at("trust"), trust_verdict(figures.value, figures.rel_uncertainty_pct)) << text;
}

TEST(ExpressionJob, LabelParametersAndTheFifteenMembers) {
  const ParamMap params = {{"D", 1.0}, {"C", 2.99e8}};
  const JsonValue document = written(build_expression_result("E = D*C^2", params, "lucas", std::nullopt));
  EXPECT_EQ(keys_of(document),
            (std::vector<std::string>{"copyright", "drift", "engine", "evaluated", "expression", "kind",
                                      "label", "note", "patent", "precision_requested",
                                      "rel_uncertainty_pct", "status", "trust", "value", "zone"}));
  EXPECT_EQ(document.at("kind"), "compute");
  EXPECT_EQ(document.at("label"), "E");
  EXPECT_EQ(document.at("expression"), "E = D*C^2");
  EXPECT_EQ(document.at("evaluated"), "(1.00000000000000000e0)*(2.99000000000000000e8)^2");
  EXPECT_EQ(document.at("zone"), "lucas");
  EXPECT_TRUE(document.at("precision_requested").is_null());
  EXPECT_EQ(document.at("status"), "ok");
  EXPECT_NEAR(document.at("value").get<double>(), 8.9401e16, 8.9401e16 * 1e-3);
  expect_figures_of(document, "(1.00000000000000000e0)*(2.99000000000000000e8)^2");
  EXPECT_EQ(document.at("engine"), "Kalvex");
  EXPECT_EQ(document.at("copyright"), COPYRIGHT_NOTICE);
  EXPECT_EQ(document.at("patent"), PATENT_NOTICE);
  EXPECT_EQ(document.at("note"),
            "Kalvex precision is drift-tracked, not fixed-digit; trust is derived from the engine's "
            "own drift, not a claimed digit count.");
}

TEST(ExpressionJob, WhatTheEngineCannotEvaluateIsReportedNotFailed) {
  // Unknown name, empty right-hand side, infinity from a parsed number.
  for (const char* expression : {"x = y", "a=", "", "1e400", "DC"}) {
    const JsonValue document =
        written(build_expression_result(expression, ParamMap{{"D", 1.0}, {"C", 2.0}}, "lucas", std::nullopt));
    EXPECT_TRUE(document.at("value").is_null()) << expression;
    EXPECT_EQ(document.at("drift"), 0.0) << expression;
    EXPECT_EQ(document.at("rel_uncertainty_pct"), 0.0) << expression;
    EXPECT_EQ(document.at("trust"), "ERROR") << expression;
    EXPECT_EQ(document.at("status"), expression_unsupported_status) << expression;
  }
  const JsonValue unknown = written(build_expression_result("x = y", {}, "lucas", std::nullopt));
  EXPECT_EQ(unknown.at("label"), "x");
  EXPECT_EQ(unknown.at("evaluated"), "y");
}

TEST(ExpressionJob, EchoesZonePrecisionAndTheUntrimmedExpression) {
  const JsonValue document = written(build_expression_result("  2*3  ", {}, "foo", std::string_view("")));
  EXPECT_EQ(document.at("zone"), "foo");
  EXPECT_EQ(document.at("precision_requested"), "");
  EXPECT_EQ(document.at("expression"), "  2*3  ");
  EXPECT_EQ(document.at("label"), "");
  EXPECT_EQ(document.at("evaluated"), "2*3");
  EXPECT_EQ(document.at("status"), "ok");
  EXPECT_TRUE(document.at("value").is_number_float());
  expect_figures_of(document, "2*3");

  // The label is never substituted; "2x" gives the figures of "2".
  const JsonValue labelled = written(build_expression_result("D = D*2", {{"D", 1.0}}, "sinh", "60"));
  EXPECT_EQ(labelled.at("label"), "D");
  EXPECT_EQ(labelled.at("evaluated"), "(1.00000000000000000e0)*2");
  EXPECT_EQ(labelled.at("precision_requested"), "60");
  const JsonValue implicit = written(build_expression_result("2x", {{"x", 3.0}}, "lucas", std::nullopt));
  EXPECT_EQ(implicit.at("evaluated"), "2(3.00000000000000000e0)");
  expect_figures_of(implicit, "2");
}

}  // namespace
}  // namespace kalvex
