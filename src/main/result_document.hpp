// What every result document shares: the rules for putting values into it and
// the common keys.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "json_text.hpp"

namespace kalvex {

// A JSON object (or, for a batch, an array of them); keys print in byte order.
using ResultDocument = JsonValue;

// A double as a document value: a number when finite, null otherwise.
JsonValue json_double(double value);
// A list of doubles as an array, each element by json_double.
JsonValue json_double_list(std::span<const double> values);
// An optional text: a string when present (the empty text included), else null.
JsonValue json_optional_text(const std::optional<std::string>& text);

// Puts "engine", "copyright" and "patent" into the document.
void add_common_keys(ResultDocument& document);

}  // namespace kalvex
