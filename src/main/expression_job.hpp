// The expression job: one expression, with its label and parameters, evaluated
// by the engine and turned into an expression result document.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "flat_document.hpp"
#include "kalvex/engine.hpp"
#include "param_map.hpp"
#include "result_document.hpp"

namespace kalvex {

inline constexpr std::string_view expression_unsupported_status =
    "unsupported: unknown identifier or function in expression";

// One expression evaluated, before it becomes a document: the label split off
// and the substituted right-hand side that the engine was given.
struct ExpressionOutcome {
  std::string label;
  std::string evaluated;
  ExpressionFigures figures;
};

// Splits the label off, substitutes the parameters and asks the engine once.
ExpressionOutcome evaluate_expression_job(std::string_view expression, const ParamMap& params,
                                          std::string_view zone);

// The expression result document of an outcome; it refers to the outcome and
// to the texts passed in.
FlatDocument expression_document(const ExpressionOutcome& outcome, std::string_view expression,
                                 std::string_view zone, std::optional<std::string_view> precision);

// Splits the label off, substitutes the parameters, asks the engine once and
// builds the document: "expression" is the text as given, "evaluated" the
// substituted right-hand side, "status" "ok" exactly when the value is finite.
// The precision is only echoed (null when absent).
ResultDocument build_expression_result(std::string_view expression, const ParamMap& params,
                                       std::string_view zone,
                                       std::optional<std::string_view> precision);

// Builds the document and writes it with emit_document (standard output when
// there is no path); an unwritable path ends the run with status 1.
void run_expression_job(std::string_view expression, const ParamMap& params, std::string_view zone,
                        std::optional<std::string_view> precision,
                        const std::optional<std::string>& output_path);

}  // namespace kalvex
