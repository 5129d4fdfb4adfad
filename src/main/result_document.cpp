#include "result_document.hpp"

#include <nlohmann/json.hpp>

#include "common_keys.hpp"
#include "flat_document.hpp"
#include "trust_verdict.hpp"

namespace kalvex {

JsonValue json_optional_text(const std::optional<std::string>& text) {
  if (!text) return nullptr;
  return *text;
}

void add_common_keys(ResultDocument& document) {
  for (const CommonKey& common : common_keys) document[std::string(common.key.view())] = common.value.view();
}

FlatDocument begin_compute_document(std::string_view zone, std::optional<std::string_view> precision) {
  FlatDocument document;
  document.put_plain_text("kind", "compute");
  document.put_text("zone", zone);
  document.put_optional_text("precision_requested", precision);
  document.put_common_keys();
  return document;
}

void put_result_figures(FlatDocument& document, double value, double drift, double rel_uncertainty_pct) {
  document.put_double("value", value);
  document.put_double("drift", drift);
  document.put_double("rel_uncertainty_pct", rel_uncertainty_pct);
  document.put_text("trust", trust_verdict(value, rel_uncertainty_pct));
}

}  // namespace kalvex
