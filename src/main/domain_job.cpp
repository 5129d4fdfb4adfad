#include "domain_job.hpp"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "emit_document.hpp"
#include "kalvex/engine.hpp"
#include "result_document.hpp"

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

FlatDocument build_domain_result(std::string_view name, DomainParams params, std::string_view zone,
                                 std::optional<std::string_view> precision) {
  const DomainFigures figures = compute_domain(name, params, zone);
  FlatDocument document = begin_compute_document(zone, precision);
  document.put_text("domain", name);
  document.put_double_list("params", std::move(params));
  document.put_double("ieee754", figures.ieee754);
  put_result_figures(document, figures.value, figures.drift, figures.rel_uncertainty_pct);
  if (is_recognized_domain(name)) {
    document.put_plain_text("status", "ok");
  } else {
    document.put_plain_text("status", "unknown_domain");
  }
  return document;
}

void run_domain_job(std::string_view name, DomainParams params, std::string_view zone,
                    std::optional<std::string_view> precision,
                    const std::optional<std::string>& output_path) {
  emit_document(output_path, build_domain_result(name, std::move(params), zone, precision));
}

}  // namespace kalvex
