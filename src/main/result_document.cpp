#include "result_document.hpp"

#include <cmath>
#include <nlohmann/json.hpp>

namespace kalvex {

JsonValue json_double(double value) {
  if (!std::isfinite(value)) return nullptr;
  return value;
}

JsonValue json_optional_text(const std::optional<std::string>& text) {
  if (!text) return nullptr;
  return *text;
}

void add_common_keys(ResultDocument& document) {
  for (const CommonKey& common : common_keys) document[std::string(common.key.view())] = common.value.view();
}

}  // namespace kalvex
