// to_pretty_json: the tool's own writer over the value model. nlohmann's dump
// differs in number form (shortest digits laid out by decimal exponent here)
// and in escaping, so it is not used.
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "json_text.hpp"

#include <nlohmann/json.hpp>

namespace kalvex {
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

// Bytes that are written as an escape: the quote, the backslash and the
// controls 0x00 to 0x1F; looked up in a table built at compile time.
constexpr std::array<bool, 256> kNeedsEscape = [] {
  std::array<bool, 256> table{};
  for (int byte = 0; byte < 0x20; ++byte) table[static_cast<std::size_t>(byte)] = true;
  table[0x22] = true;
  table[0x5C] = true;
  return table;
}();

constexpr bool needs_escape(unsigned char byte) { return kNeedsEscape[byte]; }

void append_escape(std::string& out, unsigned char byte) {
  switch (byte) {
    case 0x22: out.append("\\\""); return;
    case 0x5C: out.append("\\\\"); return;
    case 0x08: out.append("\\b"); return;
    case 0x09: out.append("\\t"); return;
    case 0x0A: out.append("\\n"); return;
    case 0x0C: out.append("\\f"); return;
    case 0x0D: out.append("\\r"); return;
    default: {
      const char escape[] = {'\\', 'u', '0', '0', kHexDigits[byte >> 4], kHexDigits[byte & 0x0F]};
      out.append(escape, sizeof escape);
    }
  }
}

template <class Integer>
void append_integer(std::string& out, Integer value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

void append_value(std::string& out, const JsonValue& value, int depth) {
  switch (value.type()) {
    case JsonValue::value_t::null:
      out.append("null");
      return;
    case JsonValue::value_t::boolean:
      out.append(value.get<bool>() ? "true" : "false");
      return;
    case JsonValue::value_t::number_unsigned:
      append_json_unsigned(out, value.get<std::uint64_t>());
      return;
    case JsonValue::value_t::number_integer:
      append_integer(out, value.get<std::int64_t>());
      return;
    case JsonValue::value_t::number_float:
      append_json_double(out, value.get<double>());
      return;
    case JsonValue::value_t::string:
      append_json_string(out, value.get_ref<const std::string&>());
      return;
    case JsonValue::value_t::array: {
      if (value.empty()) {
        out.append("[]");
        return;
      }
      out.push_back('[');
      bool first = true;
      for (const JsonValue& element : value) {
        out.append(first ? "\n" : ",\n");
        first = false;
        append_json_indent(out, depth + 1);
        append_value(out, element, depth + 1);
      }
      out.push_back('\n');
      append_json_indent(out, depth);
      out.push_back(']');
      return;
    }
    case JsonValue::value_t::object: {
      if (value.empty()) {
        out.append("{}");
        return;
      }
      out.push_back('{');
      bool first = true;
      // The object map iterates in ascending byte order of the keys.
      for (const auto& [key, member] : value.items()) {
        out.append(first ? "\n" : ",\n");
        first = false;
        append_json_indent(out, depth + 1);
        append_json_string(out, key);
        out.append(": ");
        append_value(out, member, depth + 1);
      }
      out.push_back('\n');
      append_json_indent(out, depth);
      out.push_back('}');
      return;
    }
    case JsonValue::value_t::binary:
    case JsonValue::value_t::discarded:
      // The reader never makes these and documents never hold them.
      out.append("null");
      return;
  }
}

}  // namespace

void append_json_string(std::string& out, std::string_view text) {
  out.push_back('"');
  // Runs of bytes that go out unchanged (the slash, DEL and every byte of a
  // multi-byte character among them) are copied whole.
  std::size_t run_start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (!needs_escape(byte)) continue;
    out.append(text.data() + run_start, i - run_start);
    append_escape(out, byte);
    run_start = i + 1;
  }
  out.append(text.data() + run_start, text.size() - run_start);
  out.push_back('"');
}

void append_json_unsigned(std::string& out, std::uint64_t value) { append_integer(out, value); }

void append_json_indent(std::string& out, int depth) { out.append(static_cast<std::size_t>(depth) * 2, ' '); }

void append_json_double(std::string& out, double value) {
  if (!std::isfinite(value)) {
    out.append("null");
    return;
  }
  if (std::signbit(value)) out.push_back('-');
  if (value == 0.0) {
    out.append("0.0");
    return;
  }
  // Shortest round-trip digits in scientific form: "d[.ddd]e[+-]x".
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                    std::chars_format::scientific);
  const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
  const std::size_t e_pos = text.find('e');
  // The digits without the point: at most 17 of them.
  char digit_buffer[24];
  std::size_t n_digits = 0;
  for (const char c : text.substr(0, e_pos)) {
    if (c != '.') digit_buffer[n_digits++] = c;
  }
  const std::string_view digits(digit_buffer, n_digits);
  int exponent = 0;
  const std::string_view exponent_text = text.substr(e_pos + 1);
  std::from_chars(exponent_text.data() + (exponent_text.front() == '+' ? 1 : 0),
                  exponent_text.data() + exponent_text.size(), exponent);
  const int n = static_cast<int>(digits.size());

  if (exponent >= -5 && exponent <= 15) {
    if (n <= exponent + 1) {
      out.append(digits);
      out.append(static_cast<std::size_t>(exponent + 1 - n), '0');
      out.append(".0");
    } else if (exponent >= 0) {
      out.append(digits.substr(0, static_cast<std::size_t>(exponent + 1)));
      out.push_back('.');
      out.append(digits.substr(static_cast<std::size_t>(exponent + 1)));
    } else {
      out.append("0.");
      out.append(static_cast<std::size_t>(-exponent - 1), '0');
      out.append(digits);
    }
    return;
  }
  out.push_back(digits[0]);
  if (n > 1) {
    out.push_back('.');
    out.append(digits.substr(1));
  }
  out.push_back('e');
  out.push_back(exponent < 0 ? '-' : '+');
  append_integer(out, exponent < 0 ? -exponent : exponent);
}

JsonValue json_double(double value) {
  if (!std::isfinite(value)) return nullptr;
  return value;
}

void append_pretty_json(std::string& out, const JsonValue& value, int depth) {
  append_value(out, value, depth);
}

std::string to_pretty_json(const JsonValue& value) {
  std::string out;
  append_value(out, value, 0);
  return out;
}

}  // namespace kalvex
