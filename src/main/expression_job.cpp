#include "expression_job.hpp"

#include <cmath>

#include "emit_document.hpp"
#include "kalvex/engine.hpp"
#include "label_split.hpp"
#include "param_substitution.hpp"
#include "result_document.hpp"

namespace kalvex {
namespace {

constexpr PlainText expression_note =
    "Kalvex precision is drift-tracked, not fixed-digit; trust is derived from the engine's own "
    "drift, not a claimed digit count.";

}  // namespace

FlatDocument build_expression_result(std::string_view expression, const ParamMap& params,
                                     std::string_view zone, std::optional<std::string_view> precision) {
  LabelSplit split = split_label(expression);
  std::string evaluated = substitute_params(split.rhs, params);
  const ExpressionFigures figures = evaluate_expression(evaluated, zone);

  FlatDocument document = begin_compute_document(zone, precision);
  document.put_owned_text("label", std::move(split.label));
  document.put_text("expression", expression);
  document.put_owned_text("evaluated", std::move(evaluated));
  put_result_figures(document, figures.value, figures.drift, figures.rel_uncertainty_pct);
  if (std::isfinite(figures.value)) {
    document.put_plain_text("status", "ok");
  } else {
    document.put_plain_text("status", expression_unsupported_status);
  }
  document.put_plain_text("note", expression_note);
  return document;
}

void run_expression_job(std::string_view expression, const ParamMap& params, std::string_view zone,
                        std::optional<std::string_view> precision,
                        const std::optional<std::string>& output_path) {
  emit_document(output_path, build_expression_result(expression, params, zone, precision));
}

}  // namespace kalvex
