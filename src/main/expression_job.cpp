#include "expression_job.hpp"

#include <cmath>

#include "kalvex/engine.hpp"
#include "label_split.hpp"
#include "optional_text_value.hpp"
#include "param_substitution.hpp"

namespace kalvex {
namespace {

constexpr std::string_view expression_note =
    "Kalvex precision is drift-tracked, not fixed-digit; trust is derived from the engine's own "
    "drift, not a claimed digit count.";

}  // namespace

ResultDocument build_expression_result(std::string_view expression, const ParamMap& params,
                                       std::string_view zone,
                                       std::optional<std::string_view> precision) {
  LabelSplit split = split_label(expression);
  std::string evaluated = substitute_params(split.rhs, params);
  const ExpressionFigures figures = evaluate_expression(evaluated, zone);

  ResultDocument document = JsonValue::object();
  document["kind"] = "compute";
  document["label"] = std::move(split.label);
  document["expression"] = std::string(expression);
  document["evaluated"] = std::move(evaluated);
  document["zone"] = std::string(zone);
  document["precision_requested"] = optional_text_value(precision);
  document["value"] = json_double(figures.value);
  document["drift"] = json_double(figures.drift);
  document["rel_uncertainty_pct"] = json_double(figures.rel_uncertainty_pct);
  document["trust"] = std::string(trust_verdict(figures.value, figures.rel_uncertainty_pct));
  document["status"] = std::isfinite(figures.value) ? std::string_view("ok") : expression_unsupported_status;
  add_common_keys(document);
  document["note"] = expression_note;
  return document;
}

void run_expression_job(std::string_view expression, const ParamMap& params, std::string_view zone,
                        std::optional<std::string_view> precision,
                        const std::optional<std::string>& output_path) {
  emit_document(output_path, build_expression_result(expression, params, zone, precision));
}

}  // namespace kalvex
