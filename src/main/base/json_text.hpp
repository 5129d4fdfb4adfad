// JSON text in both directions, exactly as the tool reads and writes it.
//
// The value model is nlohmann::json: null, booleans, numbers held as unsigned
// (0 and up), signed (negative only) or double (always finite), strings (UTF-8),
// arrays, and objects whose keys are kept in ascending byte order. This header
// only names the type; a unit that builds or inspects values includes
// <nlohmann/json.hpp> itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json_fwd.hpp>

namespace kalvex {

using JsonValue = nlohmann::json;

// The whole text as one JSON value, optionally surrounded by whitespace, or
// nothing when it is not. A failure carries no detail: callers only tell
// success from failure.
std::optional<JsonValue> parse_json(std::string_view text);

// Receives each element of a top-level array as soon as it is complete.
using ArrayElementSink = std::function<void(const JsonValue& element)>;

// parse_json, except that a top-level array is never built whole: each
// element goes to `sink` once it is complete and is dropped right after, and
// the value returned for the array is an empty array. So a batch of a million
// items holds one item's tree at a time. When the text fails to parse after
// all, the sink has already seen the elements before the fault.
std::optional<JsonValue> parse_json_streaming(std::string_view text, const ArrayElementSink& sink);

// The value's indented text (two spaces per level, keys in byte order, doubles
// in the shortest round-trip form), with no newline after it. A number's text
// on its own ("60", "60.0", "-0.0") is to_pretty_json of that number.
std::string to_pretty_json(const JsonValue& value);

// Appends the text of a value that stands at `depth` inside a larger document:
// its first line starts where the value starts, its entries are indented for
// depth + 1 and its closing bracket for depth. Lets a batch render each item
// as soon as it is done: "[\n  " + item0 + ",\n  " + item1 + "\n]" is the
// text of the whole array.
void append_pretty_json(std::string& out, const JsonValue& value, int depth);

// The pieces the writer is made of, for writers that lay out documents of
// their own in the same form.

// Appends the indentation of a line at `depth`: two spaces per level.
void append_json_indent(std::string& out, int depth);

// Appends a string (or key) between double quotes, escaped byte for byte:
// quote, backslash and the controls 0x00 to 0x1F; every other byte raw.
void append_json_string(std::string& out, std::string_view text);

// Appends an unsigned integer in decimal, without leading zeros.
void append_json_unsigned(std::string& out, std::uint64_t value);

// Appends a double in the shortest form that reads back to the same double:
// positional for decimal exponents -5 to 15 ("100.0", "0.00001"), exponent
// form otherwise ("1e+16", "1.5e-7"). A NaN or an infinity has no JSON form
// and is written as null.
void append_json_double(std::string& out, double value);

// A double as a value: a number when finite, null otherwise, which is the value
// that to_pretty_json writes as append_json_double writes the double.
JsonValue json_double(double value);

// A number value as a double: integers to the nearest double (ties to even),
// doubles unchanged; nothing for any value that is not a number.
std::optional<double> json_number_as_double(const JsonValue& value);

}  // namespace kalvex
