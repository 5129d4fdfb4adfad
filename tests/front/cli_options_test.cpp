#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "cli_options.hpp"

namespace kalvex {
namespace {

struct LookupCase {
  std::vector<std::string> args;
  const char* option_word;
  std::optional<std::string> expected;
};

TEST(OptionValue, FindsTheArgumentAfterTheFirstExactOccurrence) {
  const LookupCase cases[] = {
      {{}, "--zone", std::nullopt},
      {{"--zone", "sinh"}, "--zone", "sinh"},
      {{"x", "--precision", "60", "--zone", "sinh"}, "--zone", "sinh"},
      // The first occurrence wins; later ones are never looked at.
      {{"--zone", "a", "--zone", "b"}, "--zone", "a"},
      // The option word as the last argument is absent, even when an earlier
      // word would have had a value.
      {{"--zone"}, "--zone", std::nullopt},
      {{"sinh", "--zone"}, "--zone", std::nullopt},
      // The value is taken unchanged: empty, blank-padded or an option word.
      {{"--zone", ""}, "--zone", ""},
      {{"--zone", " sinh "}, "--zone", " sinh "},
      {{"--zone", "--output", "x"}, "--zone", "--output"},
      {{"--zone", "--output", "x"}, "--output", "x"},
      {{"--zone", "--zone"}, "--zone", "--zone"},
      // Exact comparison only: no case folding, abbreviation or joined form.
      {{"--Zone", "sinh"}, "--zone", std::nullopt},
      {{"--zon", "sinh"}, "--zone", std::nullopt},
      {{"--zone=sinh"}, "--zone", std::nullopt},
      {{"zone", "sinh"}, "--zone", std::nullopt},
  };
  for (const LookupCase& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args) + " " + c.option_word);
    std::optional<std::string_view> value = option_value(c.args, c.option_word);
    EXPECT_EQ(value.has_value(), c.expected.has_value());
    if (value && c.expected) {
      EXPECT_EQ(*value, *c.expected);
    }
    EXPECT_EQ(option_text(c.args, c.option_word), c.expected);
  }
}

TEST(OptionValue, RefersIntoTheArgumentList) {
  const std::vector<std::string> args = {"--zone", "sinh"};
  std::optional<std::string_view> value = option_value(args, "--zone");
  ASSERT_TRUE(value);
  EXPECT_EQ(value->data(), args[1].data());
}

}  // namespace
}  // namespace kalvex
