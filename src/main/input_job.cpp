#include "input_job.hpp"

#include <sys/mman.h>

#include <cstdint>
#include <new>

#include "domain_job.hpp"
#include "emit_document.hpp"
#include "flat_document.hpp"
#include "expression_job.hpp"
#include "file_text.hpp"
#include "optional_text_value.hpp"
#include "param_map.hpp"
#include "kalvex/engine.hpp"
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

FlatDocument unsupported_item_document(std::string_view zone, std::optional<std::string_view> precision) {
  FlatDocument document;
  document.put_plain_text("kind", "compute");
  document.put_text("zone", zone);
  document.put_optional_text("precision_requested", precision);
  document.put_text("status", unsupported_item_status);
  document.put_common_keys();
  return document;
}

// Item documents of one batch are much alike in length. Growing the output by
// doubling would copy it over and over and, at its last step, hold the old and
// the new buffer at once; so once the first items are rendered, room for the
// whole batch is reserved from their share of the input, with a margin. Pages
// reserved but never written cost no memory.
constexpr std::size_t items_before_estimate = 64;

// A large output fills hundreds of thousands of pages, each one a page fault;
// in huge pages it takes a few hundred. Only a hint: where the system does not
// give huge pages, nothing changes.
void ask_for_huge_pages(char* begin, std::size_t length) {
  constexpr std::uintptr_t huge_page = std::uintptr_t{1} << 21;
  const auto first = (reinterpret_cast<std::uintptr_t>(begin) + huge_page - 1) & ~(huge_page - 1);
  const auto last = (reinterpret_cast<std::uintptr_t>(begin) + length) & ~(huge_page - 1);
  if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

// A batch in progress. Every element's document is rendered as soon as the
// element is read and only its text is kept, so a batch holds its output and
// nothing more. The joining reproduces the array form of the writer: "[",
// each element on its own line at depth 1, "]".
class BatchRun {
 public:
  BatchRun(std::string_view zone, const std::optional<std::string>& precision)
      : zone_(zone), precision_(precision) {}

  // `done_share` is the share of the whole batch read once this element is
  // in, from above 0 to 1; it only sizes the output.
  void add(const JsonValue& element, double done_share) {
    const BatchJob job = resolve_batch_job(element, zone_, precision_);
    out_ += count_ == 0 ? "[\n  " : ",\n  ";
    append_item(job);
    ++count_;
    if (count_ == items_before_estimate) reserve_for_batch(done_share);
  }

  InputOutcome finish() && {
    if (count_ == 0) return {std::string("[]"), ExitCode::success};
    out_ += "\n]";
    return {std::move(out_), all_ok_ ? ExitCode::success : ExitCode::failure};
  }

 private:
  // The item's document, with "index" and the item's label put in, rendered
  // while the outcome it refers to is still alive.
  void append_item(const BatchJob& job) {
    const std::optional<std::string_view> precision = optional_view(job.precision);
    switch (job.kind) {
      case JobKind::expression: {
        const ExpressionOutcome outcome =
            evaluate_expression_job(job.text, param_map_from_json(job.params), job.zone);
        append_document(job, expression_document(outcome, job.text, job.zone, precision));
        return;
      }
      case JobKind::domain: {
        const DomainParams numbers = job.params ? numbers_from_array(*job.params) : DomainParams{};
        const DomainFigures figures = compute_domain(job.text, numbers, job.zone);
        append_document(job, domain_document(job.text, numbers, figures, job.zone, precision));
        return;
      }
      case JobKind::unsupported:
        append_document(job, unsupported_item_document(job.zone, precision));
        return;
    }
  }

  void append_document(const BatchJob& job, FlatDocument document) {
    document.put_count("index", count_);
    if (job.label) document.put_text("label", *job.label);
    const std::optional<std::string_view> status = document.text_of("status");
    all_ok_ = all_ok_ && status == std::string_view("ok");
    document.append_text(out_, 1);
  }

  void reserve_for_batch(double done_share) {
    if (!(done_share > 0.0)) return;
    const double estimate = static_cast<double>(out_.size()) / done_share * 1.25 + 8.0;
    if (!(estimate < static_cast<double>(out_.max_size() / 2))) return;
    // The reservation is only a hint: when the estimate is more than the
    // system will map, the output grows as it goes instead.
    try {
      out_.reserve(static_cast<std::size_t>(estimate));
    } catch (const std::bad_alloc&) {
      return;
    }
    ask_for_huge_pages(out_.data() + out_.size(), out_.capacity() - out_.size());
  }

  std::string_view zone_;
  const std::optional<std::string>& precision_;
  std::string out_;
  std::uint64_t count_ = 0;
  bool all_ok_ = true;
};

InputOutcome compute_batch(const JsonValue::array_t& elements, std::string_view zone,
                           const std::optional<std::string>& precision) {
  BatchRun run(zone, precision);
  for (std::size_t index = 0; index < elements.size(); ++index) {
    run.add(elements[index], static_cast<double>(index + 1) / static_cast<double>(elements.size()));
  }
  return std::move(run).finish();
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
  return unsupported_item_document(zone, precision).to_json();
}

InputOutcome compute_input(const std::optional<JsonValue>& value, std::string_view zone,
                           const std::optional<std::string>& precision) {
  if (!value) return {std::nullopt, ExitCode::failure};
  if (value->is_array()) return compute_batch(value->get_ref<const JsonValue::array_t&>(), zone, precision);
  return compute_single(*value, zone, precision);
}

InputOutcome compute_input_text(std::string_view text, std::string_view zone,
                                const std::optional<std::string>& precision) {
  // A batch is computed while its text is read, one element at a time; should
  // the text fail to parse in the end, its items' output is dropped unseen.
  BatchRun batch(zone, precision);
  const double text_size = static_cast<double>(text.size());
  const std::optional<JsonValue> value =
      parse_json_streaming(text, [&](const JsonValue& element, std::size_t bytes_read) {
        batch.add(element, static_cast<double>(bytes_read) / text_size);
      });
  if (!value) return {std::nullopt, ExitCode::failure};
  if (value->is_array()) return std::move(batch).finish();
  return compute_single(*value, zone, precision);
}

void run_input_job(const std::string& path, std::string_view zone,
                   const std::optional<std::string>& precision,
                   const std::optional<std::string>& output_path) {
  InputOutcome outcome;
  {
    // The file's text goes as soon as the output is built, and a batch never
    // holds more of its parsed value than the element being computed.
    const std::optional<std::string> text = read_file_text(path);
    outcome = text ? compute_input_text(*text, zone, precision) : compute_input(std::nullopt, zone, precision);
  }
  if (!outcome.document_text) {
    write_stderr(input_missing_field_message);
    end_run(ExitCode::failure);
  }
  emit_document_text(output_path, *outcome.document_text);
  if (outcome.status != ExitCode::success) end_run(outcome.status);
}

}  // namespace kalvex
