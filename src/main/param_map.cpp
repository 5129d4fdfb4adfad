#include "param_map.hpp"

#include <nlohmann/json.hpp>

#include "file_text.hpp"

namespace kalvex {

std::optional<JsonValue> load_json_argument(std::string_view argument) {
  if (const auto content = read_file_text(std::string(argument))) return parse_json(*content);
  return parse_json(argument);
}

ParamMap param_map_from_json(const JsonValue* value) {
  ParamMap params;
  if (value == nullptr || !value->is_object()) return params;
  for (const auto& [name, member] : value->get_ref<const JsonValue::object_t&>()) {
    if (const auto number = json_number_as_double(member)) params.emplace_hint(params.end(), name, *number);
  }
  return params;
}

ParamMap param_map_from_json(const std::optional<JsonValue>& value) {
  return param_map_from_json(value ? &*value : nullptr);
}

}  // namespace kalvex
