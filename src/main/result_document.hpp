// What the result documents share: the common keys put into a document tree,
// optional texts as values, and the part that every compute document begins
// with.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "json_text.hpp"

namespace kalvex {

// A validation document: a JSON object whose keys print in byte order. The
// compute documents are written flat (flat_document.hpp).
using ResultDocument = JsonValue;

// An optional text: a string when present (the empty text included), else null.
JsonValue json_optional_text(const std::optional<std::string>& text);

// Puts the common keys (common_keys.hpp) into the document.
void add_common_keys(ResultDocument& document);

class FlatDocument;

// A compute document begun with what the expression, domain and unsupported
// item documents all hold: "kind" "compute", the zone, the requested precision
// (null when absent) and the common keys. It refers to the zone and precision
// texts.
FlatDocument begin_compute_document(std::string_view zone, std::optional<std::string_view> precision);

// The figures of a computed result, "value", "drift" and
// "rel_uncertainty_pct", and the trust verdict they give.
void put_result_figures(FlatDocument& document, double value, double drift, double rel_uncertainty_pct);

}  // namespace kalvex
