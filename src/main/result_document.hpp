// What every result document shares: the rules for putting values into it, the
// common keys, the trust verdict, and the one writer that sends it out.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "json_text.hpp"

namespace kalvex {

// A JSON object (or, for a batch, an array of them); keys print in byte order.
using ResultDocument = JsonValue;

// The two exclusive upper limits of the trust verdict, in percent.
struct TrustThresholds {
  double precise_below;
  double drifting_below;
};
inline constexpr TrustThresholds trust_thresholds{0.5, 5.0};

// "ERROR" when value or uncertainty is not finite; else "PRECISE" below 0.5,
// "DRIFTING" below 5.0, otherwise "UNRELIABLE".
std::string_view trust_verdict(double value, double uncertainty_pct);

// A double as a document value: a number when finite, null otherwise.
JsonValue json_double(double value);
// A list of doubles as an array, each element by json_double.
JsonValue json_double_list(std::span<const double> values);
// An optional text: a string when present (the empty text included), else null.
JsonValue json_optional_text(const std::optional<std::string>& text);

// Puts "engine", "copyright" and "patent" into the document.
void add_common_keys(ResultDocument& document);

// Writes the document: its text and a newline to standard output when there is
// no path; otherwise its text alone to the file (created 0666 under the umask,
// or truncated), then "[kalvex] wrote PATH" on standard error. When the file
// cannot be written completely, "kalvex: could not write PATH" on standard error
// and the run ends at once with status 1.
void emit_document(const std::optional<std::string>& output_path, const ResultDocument& document);

// The same for a document already rendered with to_pretty_json (a batch joins
// its items' texts as it goes).
void emit_document_text(const std::optional<std::string>& output_path, std::string_view text);

}  // namespace kalvex
