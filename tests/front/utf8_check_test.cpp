#include <gtest/gtest.h>

#include <string>

#include "utf8_check.hpp"

namespace kalvex {
namespace {

struct Utf8Case {
  std::string text;
  bool valid;
};

TEST(Utf8Check, AcceptsWellFormedAndRejectsEverythingElse) {
  const Utf8Case cases[] = {
      {"", true},
      {"compute", true},
      {"h\xC3\xA9lp \xC2\xB7", true},          // two-byte sequences
      {"\xE2\x82\xAC", true},                  // U+20AC
      {"\xED\x9F\xBF", true},                  // U+D7FF, just below the surrogates
      {"\xEE\x80\x80", true},                  // U+E000, just above them
      {"\xF0\x90\x80\x80", true},              // U+10000, the first four-byte one
      {"\xF4\x8F\xBF\xBF", true},              // U+10FFFF, the last code point
      {std::string("a\0b", 3), true},          // cannot come from argv, but is UTF-8
      // Bytes that never start a sequence.
      {"\xFF", false},
      {"\x80", false},
      {"a\xBF", false},
      {"\xF5\x80\x80\x80", false},
      // Overlong forms.
      {"\xC0\x80", false},
      {"\xC1\xBF", false},
      {"\xE0\x9F\xBF", false},
      {"\xF0\x8F\xBF\xBF", false},
      // Surrogates and code points above U+10FFFF.
      {"\xED\xA0\x80", false},
      {"\xED\xBF\xBF", false},
      {"\xF4\x90\x80\x80", false},
      // Truncated sequences, at the end and before another character.
      {"\xC3", false},
      {"\xE2\x82", false},
      {"\xF0\x90\x80", false},
      {"\xE2\x82x", false},
      {"\xC3\xC3\xA9", false},
  };
  for (const Utf8Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.text));
    EXPECT_EQ(is_valid_utf8(c.text), c.valid);
  }
}

}  // namespace
}  // namespace kalvex
