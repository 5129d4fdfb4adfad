#include "domain_job.hpp"

#include <algorithm>

#include "kalvex/engine.hpp"
#include "optional_text_value.hpp"

namespace kalvex {
namespace {

template <typename Values>
DomainParams numbers_of(const Values& values) {
  DomainParams numbers;
  for (const auto& value : values) {
    if (const auto number = json_number_as_double(value)) numbers.push_back(*number);
  }
  return numbers;
}

}  // namespace

bool is_recognized_domain(std::string_view name) {
  return std::find(recognized_domains.begin(), recognized_domains.end(), name) !=
         recognized_domains.end();
}

DomainParams numbers_from_array(const JsonValue& array) {
  if (!array.is_array()) return {};
  return numbers_of(array.get_ref<const JsonValue::array_t&>());
}

DomainParams numbers_from_object(const JsonValue& object) {
  if (!object.is_object()) return {};
  // Iterating the JsonValue itself visits the members' values in key order.
  return numbers_of(object);
}

DomainParams domain_params_from_json(const std::optional<JsonValue>& value) {
  if (!value) return {};
  if (value->is_array()) return numbers_from_array(*value);
  if (value->is_object()) return numbers_from_object(*value);
  return {};
}

ResultDocument build_domain_result(std::string_view name, std::span<const double> params,
                                   std::string_view zone, std::optional<std::string_view> precision) {
  const DomainFigures figures = compute_domain(name, params, zone);

  ResultDocument document = JsonValue::object();
  document["kind"] = "compute";
  document["domain"] = std::string(name);
  document["params"] = json_double_list(params);
  document["zone"] = std::string(zone);
  document["precision_requested"] = optional_text_value(precision);
  document["ieee754"] = json_double(figures.ieee754);
  document["value"] = json_double(figures.value);
  document["drift"] = json_double(figures.drift);
  document["rel_uncertainty_pct"] = json_double(figures.rel_uncertainty_pct);
  document["trust"] = std::string(trust_verdict(figures.value, figures.rel_uncertainty_pct));
  document["status"] = is_recognized_domain(name) ? "ok" : "unknown_domain";
  add_common_keys(document);
  return document;
}

void run_domain_job(std::string_view name, std::span<const double> params, std::string_view zone,
                    std::optional<std::string_view> precision,
                    const std::optional<std::string>& output_path) {
  emit_document(output_path, build_domain_result(name, params, zone, precision));
}

}  // namespace kalvex
