#include "input_job.hpp"

#include <cstdint>
#include <new>

#include "domain_job.hpp"
#include "expression_job.hpp"
#include "file_text.hpp"
#include "optional_text_value.hpp"
#include "param_map.hpp"
#include "result_document.hpp"
#include "std_streams.hpp"

namespace kalvex {
namespace {

const JsonValue* member(const JsonValue& object, std::string_view key) {
  const auto found = object.find(key);
  return found == object.end() ? nullptr : &*found;
}

const JsonValue* string_member(const JsonValue& object, std::string_view key) {
  const JsonValue* value = member(object, key);
  return value != nullptr && value->is_string() ? value : nullptr;
}

std::string_view text_of(const JsonValue& string) {
  return string.get_ref<const JsonValue::string_t&>();
}

// "expr" and "formula" stand in only for an absent key: a present
// "expression" that is no string does not consult "expr".
const JsonValue* expression_member(const JsonValue& object) {
  const JsonValue* value = member(object, "expression");
  return value != nullptr ? value : member(object, "expr");
}

const JsonValue* domain_member(const JsonValue& object) {
  const JsonValue* value = member(object, "domain");
  return value != nullptr ? value : member(object, "formula");
}

// Fills kind, text and params of `job` from a computation object.
void choose_computation(const JsonValue& object, BatchJob& job) {
  job.params = member(object, "params");
  if (const JsonValue* expression = expression_member(object); expression && expression->is_string()) {
    job.kind = JobKind::expression;
    job.text = text_of(*expression);
  } else if (const JsonValue* domain = domain_member(object); domain && domain->is_string()) {
    job.kind = JobKind::domain;
    job.text = text_of(*domain);
  } else {
    job.kind = JobKind::unsupported;
  }
}

// An expression's parameters come from a "params" object only, a formula's
// from a "params" array only.
ResultDocument build_job_document(const BatchJob& job, std::optional<std::string_view> precision) {
  switch (job.kind) {
    case JobKind::expression:
      return build_expression_result(job.text, param_map_from_json(job.params), job.zone, precision);
    case JobKind::domain: {
      const DomainParams numbers = job.params ? numbers_from_array(*job.params) : DomainParams{};
      return build_domain_result(job.text, numbers, job.zone, precision);
    }
    case JobKind::unsupported:
      break;
  }
  return build_unsupported_item(job.zone, precision);
}

bool status_is_ok(const ResultDocument& document) {
  const JsonValue* status = member(document, "status");
  return status != nullptr && status->is_string() && text_of(*status) == "ok";
}

// Item documents of one batch are much alike in length. Growing the output by
// doubling would copy it over and over and, at its last step, hold the old and
// the new buffer at once; so once the first items are rendered, room for the
// whole batch is reserved from their average, with a margin. Pages reserved
// but never written cost no memory.
constexpr std::size_t items_before_estimate = 64;

void reserve_for_batch(std::string& out, std::size_t items_done, std::size_t item_count) {
  const std::size_t per_item = out.size() / items_done + 1;
  const std::size_t with_margin = per_item + per_item / 4;
  if (item_count > out.max_size() / 2 / with_margin) return;
  // The reservation is only a hint: when the estimate is more than the system
  // will map, the output grows as it goes instead.
  try {
    out.reserve(item_count * with_margin + 8);
  } catch (const std::bad_alloc&) {
  }
}

// Every element's document is rendered at once and only its text is kept, so
// a batch holds its output and nothing more. The joining reproduces the array
// form of the writer: "[", each element on its own line at depth 1, "]".
InputOutcome compute_batch(const JsonValue::array_t& elements, std::string_view zone,
                           const std::optional<std::string>& precision) {
  if (elements.empty()) return {std::string("[]"), ExitCode::success};
  std::string out = "[";
  bool all_ok = true;
  for (std::size_t index = 0; index < elements.size(); ++index) {
    const BatchJob job = resolve_batch_job(elements[index], zone, precision);
    ResultDocument document = build_job_document(job, optional_view(job.precision));
    document["index"] = static_cast<std::uint64_t>(index);
    if (job.label) document["label"] = std::string(*job.label);
    all_ok = all_ok && status_is_ok(document);
    out += index == 0 ? "\n  " : ",\n  ";
    append_pretty_json(out, document, 1);
    if (index + 1 == items_before_estimate) reserve_for_batch(out, index + 1, elements.size());
  }
  out += "\n]";
  return {std::move(out), all_ok ? ExitCode::success : ExitCode::failure};
}

// A single object: its own "zone" applies, its "precision" and "label" are not
// read.
InputOutcome compute_single(const JsonValue& value, std::string_view zone,
                            const std::optional<std::string>& precision) {
  if (!value.is_object()) return {std::nullopt, ExitCode::failure};
  BatchJob job;
  const JsonValue* own_zone = string_member(value, "zone");
  job.zone = own_zone ? text_of(*own_zone) : zone;
  choose_computation(value, job);
  if (job.kind == JobKind::unsupported) return {std::nullopt, ExitCode::failure};
  return {to_pretty_json(build_job_document(job, optional_view(precision))), ExitCode::success};
}

}  // namespace

BatchJob resolve_batch_job(const JsonValue& element, std::string_view zone,
                           const std::optional<std::string>& precision) {
  BatchJob job;
  job.zone = zone;
  job.precision = precision;
  if (!element.is_object()) return job;

  if (const JsonValue* own_zone = string_member(element, "zone")) job.zone = text_of(*own_zone);
  if (const JsonValue* own_precision = member(element, "precision")) {
    if (own_precision->is_number()) {
      job.precision = to_pretty_json(*own_precision);
    } else if (own_precision->is_string()) {
      job.precision = std::string(text_of(*own_precision));
    }
  }
  if (const JsonValue* label = string_member(element, "label")) job.label = text_of(*label);
  choose_computation(element, job);
  return job;
}

JsonValue build_unsupported_item(std::string_view zone, std::optional<std::string_view> precision) {
  JsonValue document = JsonValue::object();
  document["kind"] = "compute";
  document["zone"] = std::string(zone);
  document["precision_requested"] = optional_text_value(precision);
  document["status"] = unsupported_item_status;
  add_common_keys(document);
  return document;
}

InputOutcome compute_input(const std::optional<JsonValue>& value, std::string_view zone,
                           const std::optional<std::string>& precision) {
  if (!value) return {std::nullopt, ExitCode::failure};
  if (value->is_array()) return compute_batch(value->get_ref<const JsonValue::array_t&>(), zone, precision);
  return compute_single(*value, zone, precision);
}

InputOutcome compute_input_text(std::string_view text, std::string_view zone,
                                const std::optional<std::string>& precision) {
  return compute_input(parse_json(text), zone, precision);
}

void run_input_job(const std::string& path, std::string_view zone,
                   const std::optional<std::string>& precision,
                   const std::optional<std::string>& output_path) {
  InputOutcome outcome;
  {
    // The file's text goes as soon as it is parsed, and the parsed value as
    // soon as the output is built, so neither stays beside the output.
    std::optional<JsonValue> value;
    if (const auto text = read_file_text(path)) value = parse_json(*text);
    outcome = compute_input(value, zone, precision);
  }
  if (!outcome.document_text) {
    write_stderr(input_missing_field_message);
    end_run(ExitCode::failure);
  }
  emit_document_text(output_path, *outcome.document_text);
  if (outcome.status != ExitCode::success) end_run(outcome.status);
}

}  // namespace kalvex
