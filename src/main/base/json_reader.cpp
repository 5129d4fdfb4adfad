// parse_json: nlohmann's tokenizer driven through a SAX handler of our own, so
// that exactly the text the tool documents is accepted. The library alone would
// skip a byte-order mark, turn "-0" into the integer 0 and nest without bound.
#include <cstdint>
#include <vector>

#include "json_text.hpp"

#include <nlohmann/json.hpp>

namespace kalvex {
namespace {

// Opening the 128th nested container fails. The library's own parser does not
// recurse, and the handler's stack stops growing here, so even a text of ten
// million "[" ends at once.
constexpr std::size_t kMaxOpenContainers = 127;

class ValueBuilder {
 public:
  using number_integer_t = JsonValue::number_integer_t;
  using number_unsigned_t = JsonValue::number_unsigned_t;
  using number_float_t = JsonValue::number_float_t;
  using string_t = JsonValue::string_t;
  using binary_t = JsonValue::binary_t;

  bool null() { return put(nullptr); }
  bool boolean(bool value) { return put(value); }
  bool number_unsigned(number_unsigned_t value) { return put(value); }
  bool number_integer(number_integer_t value) {
    // The tokenizer hands "-0" over as the signed integer 0 ("0" arrives as
    // unsigned): the text means the double negative zero.
    if (value == 0) return put(-0.0);
    return put(value);
  }
  bool number_float(number_float_t value, const string_t&) { return put(value); }
  bool string(string_t& value) { return put(std::move(value)); }
  bool binary(binary_t&) { return false; }

  bool start_object(std::size_t) { return open(JsonValue::object()); }
  bool key(string_t& name) {
    // A key given twice keeps its last value: the slot is simply overwritten.
    pending_slot_ = &(*open_.back())[name];
    return true;
  }
  bool end_object() { return close(); }
  bool start_array(std::size_t) { return open(JsonValue::array()); }
  bool end_array() { return close(); }

  template <class Exception>
  bool parse_error(std::size_t, const std::string&, const Exception&) {
    return false;
  }

  JsonValue take() { return std::move(root_); }

  // From now on the elements of a top-level array go to `sink` one by one.
  void stream_elements(const ArrayElementSink& sink) { sink_ = &sink; }

 private:
  // Where the next value goes: the pending object slot, the end of the open
  // array, or the root.
  JsonValue* slot() {
    if (open_.empty()) return &root_;
    if (streaming_root()) return &element_;
    JsonValue* container = open_.back();
    if (container->is_array()) {
      container->push_back(nullptr);
      return &container->back();
    }
    return pending_slot_;
  }

  template <class T>
  bool put(T&& value) {
    *slot() = std::forward<T>(value);
    if (streaming_root()) hand_over_element();
    return true;
  }

  // Only the top-level array is streamed: its own elements, not those of
  // arrays nested in it.
  bool streaming_root() const { return sink_ != nullptr && open_.size() == 1 && open_.front() == &root_ && root_.is_array(); }

  void hand_over_element() {
    (*sink_)(element_);
    element_ = nullptr;
  }

  bool open(JsonValue&& container) {
    if (open_.size() == kMaxOpenContainers) return false;
    JsonValue* placed = slot();
    *placed = std::move(container);
    open_.push_back(placed);
    return true;
  }

  bool close() {
    open_.pop_back();
    if (streaming_root()) hand_over_element();
    return true;
  }

  JsonValue root_;
  JsonValue element_;  // the element of a streamed top-level array being built
  const ArrayElementSink* sink_ = nullptr;
  std::vector<JsonValue*> open_;
  JsonValue* pending_slot_ = nullptr;
};

bool starts_with_byte_order_mark(std::string_view text) {
  return text.size() >= 3 && static_cast<unsigned char>(text[0]) == 0xEF &&
         static_cast<unsigned char>(text[1]) == 0xBB && static_cast<unsigned char>(text[2]) == 0xBF;
}

// Texts that the tokenizer would take differently from the documented rules.
bool rejected_before_parsing(std::string_view text) {
  // The library would skip a leading byte-order mark; here it is text that is
  // not JSON.
  if (starts_with_byte_order_mark(text)) return true;
  // The tokenizer takes a NUL byte for the end of the input, so "1\0x" would
  // pass as 1. A raw NUL is never valid JSON (inside a string it must be
  // escaped), so any text holding one fails.
  return text.find('\0') != std::string_view::npos;
}

bool run_parser(std::string_view text, ValueBuilder& builder) {
  // The tokenizer rejects doubles that overflow ("1e400") and lets those that
  // underflow become zero ("1e-400"); integers beyond 64 bits become doubles.
  return JsonValue::sax_parse(text.begin(), text.end(), &builder, nlohmann::json::input_format_t::json,
                              /*strict=*/true, /*ignore_comments=*/false);
}

}  // namespace

std::optional<JsonValue> parse_json(std::string_view text) {
  if (rejected_before_parsing(text)) return std::nullopt;
  ValueBuilder builder;
  if (!run_parser(text, builder)) return std::nullopt;
  return builder.take();
}

std::optional<JsonValue> parse_json_streaming(std::string_view text, const ArrayElementSink& sink) {
  if (rejected_before_parsing(text)) return std::nullopt;
  ValueBuilder builder;
  builder.stream_elements(sink);
  if (!run_parser(text, builder)) return std::nullopt;
  return builder.take();
}

std::optional<double> json_number_as_double(const JsonValue& value) {
  // Integers go to the nearest double, ties to even: the conversion of the
  // hardware does exactly that.
  if (value.is_number_unsigned()) return static_cast<double>(value.get<std::uint64_t>());
  if (value.is_number_integer()) return static_cast<double>(value.get<std::int64_t>());
  if (value.is_number_float()) return value.get<double>();
  return std::nullopt;
}

}  // namespace kalvex
