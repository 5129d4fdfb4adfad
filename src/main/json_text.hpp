// JSON text in both directions, exactly as the tool reads and writes it.
//
// The value model is nlohmann::json: null, booleans, numbers held as unsigned
// (0 and up), signed (negative only) or double (always finite), strings (UTF-8),
// arrays, and objects whose keys are kept in ascending byte order.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace kalvex {

using JsonValue = nlohmann::json;

// The whole text as one JSON value, optionally surrounded by whitespace, or
// nothing when it is not. A failure carries no detail: callers only tell
// success from failure.
std::optional<JsonValue> parse_json(std::string_view text);

// The value's indented text (two spaces per level, keys in byte order, doubles
// in the shortest round-trip form), with no newline after it.
std::string to_pretty_json(const JsonValue& value);

// A number value as a double: integers to the nearest double (ties to even),
// doubles unchanged; nothing for any value that is not a number.
std::optional<double> json_number_as_double(const JsonValue& value);

}  // namespace kalvex
