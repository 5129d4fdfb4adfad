// to_pretty_json: the tool's own writer over the value model. nlohmann's dump
// differs in number form (shortest digits laid out by decimal exponent here)
// and in escaping, so it is not used.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "json_text.hpp"

namespace kalvex {
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

void append_string(std::string& out, const std::string& text) {
  out.push_back('"');
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (byte) {
      case 0x22: out.append("\\\""); break;
      case 0x5C: out.append("\\\\"); break;
      case 0x08: out.append("\\b"); break;
      case 0x09: out.append("\\t"); break;
      case 0x0A: out.append("\\n"); break;
      case 0x0C: out.append("\\f"); break;
      case 0x0D: out.append("\\r"); break;
      default:
        if (byte < 0x20) {
          out.append("\\u00");
          out.push_back(kHexDigits[byte >> 4]);
          out.push_back(kHexDigits[byte & 0x0F]);
        } else {
          // The slash, DEL and every byte of a multi-byte character go raw.
          out.push_back(c);
        }
    }
  }
  out.push_back('"');
}

template <class Integer>
void append_integer(std::string& out, Integer value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

void append_indent(std::string& out, int depth) { out.append(static_cast<std::size_t>(depth) * 2, ' '); }

void append_value(std::string& out, const JsonValue& value, int depth) {
  switch (value.type()) {
    case JsonValue::value_t::null:
      out.append("null");
      return;
    case JsonValue::value_t::boolean:
      out.append(value.get<bool>() ? "true" : "false");
      return;
    case JsonValue::value_t::number_unsigned:
      append_integer(out, value.get<std::uint64_t>());
      return;
    case JsonValue::value_t::number_integer:
      append_integer(out, value.get<std::int64_t>());
      return;
    case JsonValue::value_t::number_float:
      append_json_double(out, value.get<double>());
      return;
    case JsonValue::value_t::string:
      append_string(out, value.get_ref<const std::string&>());
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
        append_indent(out, depth + 1);
        append_value(out, element, depth + 1);
      }
      out.push_back('\n');
      append_indent(out, depth);
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
        append_indent(out, depth + 1);
        append_string(out, key);
        out.append(": ");
        append_value(out, member, depth + 1);
      }
      out.push_back('\n');
      append_indent(out, depth);
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

void append_json_double(std::string& out, double value) {
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
  std::string digits;
  digits.reserve(17);
  for (const char c : text.substr(0, e_pos)) {
    if (c != '.') digits.push_back(c);
  }
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
      out.append(digits, 0, static_cast<std::size_t>(exponent + 1));
      out.push_back('.');
      out.append(digits, static_cast<std::size_t>(exponent + 1));
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
    out.append(digits, 1);
  }
  out.push_back('e');
  out.push_back(exponent < 0 ? '-' : '+');
  append_integer(out, exponent < 0 ? -exponent : exponent);
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
