// The one place where a result document leaves the process.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "flat_document.hpp"
#include "json_text.hpp"

namespace kalvex {

// Writes the document: its text and a newline to standard output when there is
// no path; otherwise its text alone to the file, which is replaced whole or not
// at all, then "[kalvex] wrote PATH" on standard error. When the file cannot
// be written, "kalvex: could not write PATH" on standard error and the run
// ends at once with status 1.
void emit_document(const std::optional<std::string>& output_path, const FlatDocument& document);
void emit_document(const std::optional<std::string>& output_path, const JsonValue& document);

// The same for a document already rendered, given as the pieces of its text in
// order (a batch renders its items as it goes).
void emit_document_text(const std::optional<std::string>& output_path,
                        std::span<const std::string_view> pieces);

}  // namespace kalvex
