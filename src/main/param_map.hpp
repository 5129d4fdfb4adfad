// Named expression parameters and the reading of a --params value.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "json_text.hpp"

namespace kalvex {

// Parameter name to value, names in ascending byte order. Any text can be a
// name, but only one that is an identifier is ever substituted. Values read
// from JSON are always finite.
using ParamMap = std::map<std::string, double, std::less<>>;

// A --params value as JSON: the content of the file it names when that file can
// be read as UTF-8 text, else the value itself as JSON text. Nothing when the
// text settled on does not parse (a readable file that holds no JSON is not
// retried as JSON text). Writes nothing.
std::optional<JsonValue> load_json_argument(std::string_view argument);

// The numeric members of an object, each under its key and turned into a double
// by json_number_as_double; members of any other kind are skipped and nested
// containers are not searched. No value (nullptr) and every value that is not
// an object give an empty map.
ParamMap param_map_from_json(const JsonValue* value);
ParamMap param_map_from_json(const std::optional<JsonValue>& value);

}  // namespace kalvex
