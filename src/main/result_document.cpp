#include "result_document.hpp"

#include <cmath>

#include "notices.hpp"

namespace kalvex {

JsonValue json_double(double value) {
  if (!std::isfinite(value)) return nullptr;
  return value;
}

JsonValue json_double_list(std::span<const double> values) {
  JsonValue list = JsonValue::array();
  for (const double value : values) list.push_back(json_double(value));
  return list;
}

JsonValue json_optional_text(const std::optional<std::string>& text) {
  if (!text) return nullptr;
  return *text;
}

void add_common_keys(ResultDocument& document) {
  document["engine"] = "Kalvex";
  document["copyright"] = COPYRIGHT_NOTICE;
  document["patent"] = PATENT_NOTICE;
}

}  // namespace kalvex
