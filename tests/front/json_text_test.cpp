#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include <nlohmann/json.hpp>

#include "json_text.hpp"

namespace kalvex {
namespace {

JsonValue parsed(std::string_view text) {
  auto value = parse_json(text);
  EXPECT_TRUE(value.has_value()) << text;
  return value.value_or(JsonValue());
}

// The shortest round-trip form, laid out by decimal exponent.
TEST(JsonWriter, DoubleForms) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {0.0, "0.0"},
      {-0.0, "-0.0"},
      {1.0, "1.0"},
      {100.0, "100.0"},
      {0.1, "0.1"},
      {1.0 / 3.0, "0.3333333333333333"},
      {-2.5, "-2.5"},
      {2.99e8, "299000000.0"},
      {1e15, "1000000000000000.0"},
      {1e16, "1e+16"},
      {1e20, "1e+20"},
      {123456789012345680.0, "1.2345678901234568e+17"},
      {1.989e30, "1.989e+30"},
      {1e-5, "0.00001"},
      {1.5e-5, "0.000015"},
      {1e-6, "1e-6"},
      {1.5e-7, "1.5e-7"},
      {6.168429712630829e-08, "6.168429712630829e-8"},
      {std::numeric_limits<double>::denorm_min(), "5e-324"},
      {std::numeric_limits<double>::max(), "1.7976931348623157e+308"},
      // Around the layout's edges: positional up to exponent 15 and down to -5.
      {1234567890123456.0, "1234567890123456.0"},
      {123.456, "123.456"},
      {-0.000012345, "-0.000012345"},
  };
  for (const auto& c : cases) EXPECT_EQ(to_pretty_json(c.value), c.text) << c.text;
}

// A double with no JSON form never reaches the text as anything but null,
// whoever hands it to the writer.
TEST(JsonWriter, NonFiniteDoublesAreWrittenAsNull) {
  constexpr double inf = std::numeric_limits<double>::infinity();
  for (const double value : {std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::quiet_NaN(), inf, -inf}) {
    std::string out;
    append_json_double(out, value);
    EXPECT_EQ(out, "null") << value;
  }
}

TEST(JsonWriter, ContainersAndIndentation) {
  JsonValue value = {{"a", JsonValue::object()}, {"b", {1, 2}}};
  EXPECT_EQ(to_pretty_json(value), "{\n  \"a\": {},\n  \"b\": [\n    1,\n    2\n  ]\n}");
  EXPECT_EQ(to_pretty_json(JsonValue::array()), "[]");
  EXPECT_EQ(to_pretty_json(parsed("[[{\"k\": [true, null]}]]")),
            "[\n  [\n    {\n      \"k\": [\n        true,\n        null\n      ]\n    }\n  ]\n]");
}

TEST(JsonWriter, KeysInByteOrder) {
  JsonValue value = JsonValue::object();
  value["zone"] = 1;
  value["value"] = 2;
  value["drift"] = 3;
  value["Zeta"] = 4;
  value["\xc3\xa9"] = 5;  // bytes above 0x7F sort after every ASCII key
  EXPECT_EQ(to_pretty_json(value),
            "{\n  \"Zeta\": 4,\n  \"drift\": 3,\n  \"value\": 2,\n  \"zone\": 1,\n  \"\xc3\xa9\": 5\n}");
}

TEST(JsonWriter, StringEscapes) {
  EXPECT_EQ(to_pretty_json(std::string("\t\n\x1b/\"\\\b\f\r\x7f\xc3\xa9\x01")),
            "\"\\t\\n\\u001b/\\\"\\\\\\b\\f\\r\x7f\xc3\xa9\\u0001\"");
  EXPECT_EQ(to_pretty_json(std::string("a\0b", 3)), "\"a\\u0000b\"");
}

// What each byte from 0x00 to 0x7F becomes inside a string: the quote, the
// backslash and every control up to 0x1F escaped, everything else, DEL
// included, as it is.
TEST(JsonWriter, EveryAsciiByteInAString) {
  const char* const written[128] = {
      "\\u0000", "\\u0001", "\\u0002", "\\u0003", "\\u0004", "\\u0005", "\\u0006", "\\u0007",
      "\\b", "\\t", "\\n", "\\u000b", "\\f", "\\r", "\\u000e", "\\u000f",
      "\\u0010", "\\u0011", "\\u0012", "\\u0013", "\\u0014", "\\u0015", "\\u0016", "\\u0017",
      "\\u0018", "\\u0019", "\\u001a", "\\u001b", "\\u001c", "\\u001d", "\\u001e", "\\u001f",
      " ", "!", "\\\"", "#", "$", "%", "&", "'",
      "(", ")", "*", "+", ",", "-", ".", "/",
      "0", "1", "2", "3", "4", "5", "6", "7",
      "8", "9", ":", ";", "<", "=", ">", "?",
      "@", "A", "B", "C", "D", "E", "F", "G",
      "H", "I", "J", "K", "L", "M", "N", "O",
      "P", "Q", "R", "S", "T", "U", "V", "W",
      "X", "Y", "Z", "[", "\\\\", "]", "^", "_",
      "`", "a", "b", "c", "d", "e", "f", "g",
      "h", "i", "j", "k", "l", "m", "n", "o",
      "p", "q", "r", "s", "t", "u", "v", "w",
      "x", "y", "z", "{", "|", "}", "~", "\x7f",
  };
  for (int byte = 0; byte < 128; ++byte) {
    const std::string text{'<', static_cast<char>(byte), '>'};
    EXPECT_EQ(to_pretty_json(text), std::string("\"<") + written[byte] + ">\"") << "byte " << byte;
  }
}

TEST(JsonWriter, ItemsRenderedAtDepthJoinIntoTheArray) {
  const JsonValue items = parsed(R"([{"a": [1, {"b": {}}]}, 2.5, {"c": "d"}])");
  std::string joined = "[";
  for (std::size_t i = 0; i < items.size(); ++i) {
    joined += i == 0 ? "\n  " : ",\n  ";
    append_pretty_json(joined, items[i], 1);
  }
  joined += "\n]";
  EXPECT_EQ(joined, to_pretty_json(items));
}

// Number text keeps its kind: unsigned, signed (negative only) or double.
TEST(JsonReader, NumberKinds) {
  const struct {
    const char* text;
    JsonValue::value_t kind;
    const char* written;
  } cases[] = {
      {"60", JsonValue::value_t::number_unsigned, "60"},
      {"60.0", JsonValue::value_t::number_float, "60.0"},
      {"1e3", JsonValue::value_t::number_float, "1000.0"},
      {"-0", JsonValue::value_t::number_float, "-0.0"},
      {"-0.0", JsonValue::value_t::number_float, "-0.0"},
      {"0", JsonValue::value_t::number_unsigned, "0"},
      {"-5", JsonValue::value_t::number_integer, "-5"},
      {"18446744073709551615", JsonValue::value_t::number_unsigned, "18446744073709551615"},
      {"18446744073709551616", JsonValue::value_t::number_float, "1.8446744073709552e+19"},
      {"-9223372036854775808", JsonValue::value_t::number_integer, "-9223372036854775808"},
      {"-9223372036854775809", JsonValue::value_t::number_float, "-9.223372036854776e+18"},
      {"1e-400", JsonValue::value_t::number_float, "0.0"},
      {"-1e-400", JsonValue::value_t::number_float, "-0.0"},
  };
  for (const auto& c : cases) {
    const JsonValue value = parsed(c.text);
    EXPECT_EQ(value.type(), c.kind) << c.text;
    EXPECT_EQ(to_pretty_json(value), c.written) << c.text;
  }
}

TEST(JsonReader, AcceptsAndRejects) {
  const struct {
    std::string text;
    bool accepted;
  } cases[] = {
      {"", false},
      {" \t\r\n", false},
      {"\xef\xbb\xbf{}", false},  // byte-order mark
      {"{} x", false},
      {"  {\"a\": 1}\n", true},
      {"[1,]", false},
      {"[1e400]", false},
      {"[-1e400]", false},
      {"[1 2]", false},
      {"{\"a\" 1}", false},
      {"{1: 2}", false},
      {"01", false},
      {".5", false},
      {"1.", false},
      {"+1", false},
      {"NaN", false},
      {"Infinity", false},
      {"0x10", false},
      {"Null", false},
      {std::string("1\0", 2), false},
      {"\"\\u00e9\\ud834\\udd1e\"", true},
      {"\"\\ud834\"", false},  // unpaired surrogate
      {"\"a\tb\"", false},     // raw control character
      {"\"\\x41\"", false},
      {"\"\\u12\"", false},
      {"\"\xff\"", false},  // not UTF-8
      {"\f1", false},       // form feed is no whitespace
      {"/* c */ 1", false},
  };
  for (const auto& c : cases) EXPECT_EQ(parse_json(c.text).has_value(), c.accepted) << c.text;
}

TEST(JsonReader, NestingStopsAt127OpenContainers) {
  const auto nested = [](std::size_t depth, char open, char close) {
    return std::string(depth, open) + std::string(depth, close);
  };
  EXPECT_TRUE(parse_json(nested(127, '[', ']')));
  EXPECT_FALSE(parse_json(nested(128, '[', ']')));
  std::string objects;
  for (int i = 0; i < 128; ++i) objects += "{\"k\":";
  objects += "1" + std::string(128, '}');
  EXPECT_FALSE(parse_json(objects));
  // Far deeper text fails at once, without deep recursion.
  EXPECT_FALSE(parse_json(std::string(10'000'000, '[')));
}

TEST(JsonReader, LaterDuplicateKeyWins) {
  EXPECT_EQ(parsed(R"({"zone": "a", "zone": "sinh"})"), (JsonValue{{"zone", "sinh"}}));
  EXPECT_EQ(parsed(R"({"m": {"x": 1}, "m": 2})"), (JsonValue{{"m", 2}}));
}

TEST(JsonReader, ArrayHoldingUnderflowGivesZero) {
  const JsonValue value = parsed("[1e-400]");
  ASSERT_TRUE(value.is_array());
  EXPECT_EQ(to_pretty_json(value), "[\n  0.0\n]");
}

TEST(JsonNumbers, AsDouble) {
  EXPECT_EQ(json_number_as_double(parsed("9007199254740993")), 9007199254740992.0);  // ties to even
  EXPECT_EQ(json_number_as_double(parsed("18446744073709551615")), 18446744073709551616.0);
  EXPECT_EQ(json_number_as_double(parsed("-5")), -5.0);
  EXPECT_TRUE(std::signbit(*json_number_as_double(parsed("-0"))));
  EXPECT_EQ(json_number_as_double(parsed("2.5")), 2.5);
  EXPECT_FALSE(json_number_as_double(parsed("\"2\"")));
  EXPECT_FALSE(json_number_as_double(parsed("true")));
  EXPECT_FALSE(json_number_as_double(parsed("null")));
}

}  // namespace
}  // namespace kalvex
