// A top-level array read element by element gives the same elements as the
// whole tree, and every other text the same value as parse_json.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "json_text.hpp"

namespace kalvex {
namespace {

struct Streamed {
  std::optional<JsonValue> value;
  std::vector<JsonValue> elements;
};

Streamed stream(std::string_view text) {
  Streamed result;
  result.value = parse_json_streaming(text, [&](const JsonValue& element) { result.elements.push_back(element); });
  return result;
}

TEST(JsonStreaming, ArrayElementsArriveInOrderAndTheArrayStaysEmpty) {
  const std::string text = R"( [1, [2, [3]], {"a": [4], "a": {"b": -0}}, "s", null, []] )";
  const Streamed streamed = stream(text);
  ASSERT_TRUE(streamed.value);
  EXPECT_EQ(*streamed.value, JsonValue::array());
  const JsonValue whole = *parse_json(text);
  ASSERT_EQ(streamed.elements.size(), whole.size());
  for (std::size_t i = 0; i < whole.size(); ++i) {
    EXPECT_EQ(to_pretty_json(streamed.elements[i]), to_pretty_json(whole[i])) << i;
  }
}

TEST(JsonStreaming, OtherTextsGiveWhatParseJsonGives) {
  for (const std::string_view text : {R"({"x": [1, 2]})", "5", "\"s\"", "[]", " null "}) {
    const Streamed streamed = stream(text);
    ASSERT_TRUE(streamed.value) << text;
    EXPECT_EQ(*streamed.value, *parse_json(text)) << text;
  }
  for (const std::string_view text :
       {std::string_view(""), std::string_view("[1, 2"), std::string_view("[1, 2]]"),
        std::string_view("\xef\xbb\xbf[1]"), std::string_view("[1e400]"), std::string_view("[1]\0", 4)}) {
    EXPECT_FALSE(stream(text).value) << text;
  }
  // The elements before the fault have been handed over; the caller drops them.
  EXPECT_EQ(stream("[1, 2, x]").elements.size(), 2u);
}

TEST(JsonStreaming, NestingLimitStillHolds) {
  EXPECT_FALSE(stream(std::string(200, '[') + std::string(200, ']')).value);
  EXPECT_TRUE(stream(std::string(127, '[') + std::string(127, ']')).value);
}

}  // namespace
}  // namespace kalvex
