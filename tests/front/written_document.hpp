// A compute document as its reader sees it: its text, read back.
#pragma once

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "flat_document.hpp"
#include "json_text.hpp"

namespace kalvex {

inline JsonValue written(const FlatDocument& document) {
  std::string text;
  document.append_text(text, 0);
  std::optional<JsonValue> value = parse_json(text);
  EXPECT_TRUE(value.has_value()) << text;
  return value.value_or(JsonValue());
}

}  // namespace kalvex
