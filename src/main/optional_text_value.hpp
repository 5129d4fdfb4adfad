// The requested precision as jobs pass it: an optional view of its text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "json_text.hpp"

namespace kalvex {

// Jobs take the precision as a view so that a batch item's own precision text
// is copied once, straight into its document.
inline std::optional<std::string_view> optional_view(const std::optional<std::string>& text) {
  if (!text) return std::nullopt;
  return std::string_view(*text);
}

// A string when present (the empty text included), null when absent.
inline JsonValue optional_text_value(std::optional<std::string_view> text) {
  if (!text) return nullptr;
  return std::string(*text);
}

}  // namespace kalvex
