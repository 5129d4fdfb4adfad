// The --input file of the compute command: one computation object, or an array
// of them (a batch) with one result document per element.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "chunked_text.hpp"
#include "exit_codes.hpp"
#include "flat_document.hpp"
#include "json_text.hpp"

namespace kalvex {

inline constexpr std::string_view input_missing_field_message =
    "kalvex: --input JSON needs an \"expression\" or \"domain\" field\n";
inline constexpr std::string_view unsupported_item_status =
    "unsupported: batch item needs an \"expression\" or \"domain\" field";

// What a computation object asks for.
enum class JobKind { expression, domain, unsupported };

// One computation object resolved against the command's zone and precision.
// The views refer into the object or into the command's own texts.
struct BatchJob {
  std::string_view zone;                 // the object's "zone" string, else the command's
  std::optional<std::string> precision;  // a batch element's "precision" (a number as its JSON text, or a string), else the command's
  std::optional<std::string_view> label; // a batch element's "label" string, if any
  JobKind kind = JobKind::unsupported;
  std::string_view text;                 // the expression text or the formula name
  const JsonValue* params = nullptr;     // the object's "params" member, if any
};

// A batch element: "expression" (or "expr" when there is no "expression" key)
// when it is a string, else "domain" (or "formula" when there is no "domain"
// key) when it is a string, else unsupported; an element that is not an object
// is unsupported.
BatchJob resolve_batch_job(const JsonValue& element, std::string_view zone,
                           std::optional<std::string_view> precision);

// The document of a computation object, the one road for a single --input
// object and for every batch item: an expression result (parameters from a
// "params" object only), a domain result (parameters from a "params" array
// only) or the unsupported item. It refers to the job's texts, and "index" and
// "label" are not in it yet.
FlatDocument build_job_document(const BatchJob& job);

// The document of an element that names no computation.
FlatDocument build_unsupported_item(std::string_view zone, std::optional<std::string_view> precision);

// The finished output of an --input run, built without touching any stream or
// file: the document text (no trailing newline) and the status the run ends
// with. No text means the input holds nothing to compute; the run then reports
// input_missing_field_message.
struct InputOutcome {
  std::optional<ChunkedText> document_text;
  ExitCode status = ExitCode::success;
};

// Runs the file's text. An array is a batch: every element gives one document,
// in order, and the status is failure when some document's "status" is not
// "ok". Any other value is a single computation: an expression or domain
// object gives its document and success, whatever the document's status.
InputOutcome compute_input_text(std::string_view text, std::string_view zone,
                                std::optional<std::string_view> precision);

// Reads and runs the file at `path`, writes the result with emit_document_text
// and ends the run with the outcome's status (an unwritable output ends it
// with status 1 first).
void run_input_job(const std::string& path, std::string_view zone, std::optional<std::string_view> precision,
                   const std::optional<std::string>& output_path);

}  // namespace kalvex
