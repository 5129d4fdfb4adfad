#include "input_job.hpp"

#include <algorithm>
#include <cstdint>
#include <nlohmann/json.hpp>

#include "domain_job.hpp"
#include "emit_document.hpp"
#include "expression_job.hpp"
#include "file_text.hpp"
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

std::optional<std::string_view> optional_view(const std::optional<std::string>& text) {
  if (!text) return std::nullopt;
  return std::string_view(*text);
}

// Room kept free in the output for the next item before it is rendered; it
// grows to the largest item seen, so that an item seldom outgrows its chunk.
constexpr std::size_t least_item_room = std::size_t{1} << 14;

// A batch in progress. Every element's document is rendered as soon as the
// element is read and only its text is kept, so a batch holds its output and
// nothing more. The joining reproduces the array form of the writer: "[",
// each element on its own line at depth 1, "]".
class BatchRun {
 public:
  // The command's zone and precision; the compute command owns their texts
  // and keeps them for the whole run.
  BatchRun(std::string_view zone, std::optional<std::string_view> precision)
      : zone_(zone), precision_(precision) {}

  void add(const JsonValue& element) {
    const BatchJob job = resolve_batch_job(element, zone_, precision_);
    FlatDocument document = build_job_document(job);
    document.put_count("index", count_);
    if (job.label) document.put_text("label", *job.label);
    all_ok_ = all_ok_ && document.text_of("status") == std::string_view("ok");

    std::string& out = text_.with_room(item_room_);
    const std::size_t start = out.size();
    out += count_ == 0 ? "[\n  " : ",\n  ";
    document.append_text(out, 1);
    item_room_ = std::max(item_room_, out.size() - start);
    ++count_;
  }

  InputOutcome finish() && {
    text_.with_room(2) += count_ == 0 ? "[]" : "\n]";
    return {std::move(text_), all_ok_ ? ExitCode::success : ExitCode::failure};
  }

 private:
  std::string_view zone_;
  std::optional<std::string_view> precision_;
  ChunkedText text_;
  std::size_t item_room_ = least_item_room;
  std::uint64_t count_ = 0;
  bool all_ok_ = true;
};

// A single object: its own "zone" applies, its "precision" and "label" are not
// read.
InputOutcome compute_single(const JsonValue& value, std::string_view zone,
                            std::optional<std::string_view> precision) {
  if (!value.is_object()) return {std::nullopt, ExitCode::failure};
  BatchJob job;
  const JsonValue* own_zone = string_member(value, "zone");
  job.zone = own_zone ? text_of(*own_zone) : zone;
  if (precision) job.precision = std::string(*precision);
  choose_computation(value, job);
  if (job.kind == JobKind::unsupported) return {std::nullopt, ExitCode::failure};
  ChunkedText text;
  build_job_document(job).append_text(text.with_room(least_item_room), 0);
  return {std::move(text), ExitCode::success};
}

}  // namespace

BatchJob resolve_batch_job(const JsonValue& element, std::string_view zone,
                           std::optional<std::string_view> precision) {
  BatchJob job;
  job.zone = zone;
  if (precision) job.precision = std::string(*precision);
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

FlatDocument build_job_document(const BatchJob& job) {
  const std::optional<std::string_view> precision = optional_view(job.precision);
  switch (job.kind) {
    case JobKind::expression:
      return build_expression_result(job.text, param_map_from_json(job.params), job.zone, precision);
    case JobKind::domain:
      return build_domain_result(job.text, job.params ? numbers_from_array(*job.params) : DomainParams{},
                                 job.zone, precision);
    case JobKind::unsupported:
      break;
  }
  return build_unsupported_item(job.zone, precision);
}

FlatDocument build_unsupported_item(std::string_view zone, std::optional<std::string_view> precision) {
  FlatDocument document = begin_compute_document(zone, precision);
  document.put_text("status", unsupported_item_status);
  return document;
}

InputOutcome compute_input_text(std::string_view text, std::string_view zone,
                                std::optional<std::string_view> precision) {
  // A batch is computed while its text is read, one element at a time; should
  // the text fail to parse in the end, its items' output is dropped unseen.
  BatchRun batch(zone, precision);
  const std::optional<JsonValue> value =
      parse_json_streaming(text, [&](const JsonValue& element) { batch.add(element); });
  if (!value) return {std::nullopt, ExitCode::failure};
  if (value->is_array()) return std::move(batch).finish();
  return compute_single(*value, zone, precision);
}

void run_input_job(const std::string& path, std::string_view zone, std::optional<std::string_view> precision,
                   const std::optional<std::string>& output_path) {
  InputOutcome outcome;
  {
    // The file's text goes as soon as the output is built, and a batch never
    // holds more of its parsed value than the element being computed.
    const std::optional<std::string> text = read_file_text(path);
    if (text) outcome = compute_input_text(*text, zone, precision);
  }
  if (!outcome.document_text) {
    write_stderr(input_missing_field_message);
    end_run(ExitCode::failure);
  }
  emit_document_text(output_path, outcome.document_text->pieces());
  if (outcome.status != ExitCode::success) end_run(outcome.status);
}

}  // namespace kalvex
