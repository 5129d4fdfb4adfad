#include "unicode_space.hpp"

#include <gtest/gtest.h>

#include <string>

namespace kalvex {
namespace {

// The UTF-8 form of one code point below U+10000.
std::string utf8(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

constexpr char32_t white_space[] = {0x09,   0x0A,   0x0B,   0x0C,   0x0D,   0x20,   0x85,
                                    0xA0,   0x1680, 0x2000, 0x2001, 0x2002, 0x2003, 0x2004,
                                    0x2005, 0x2006, 0x2007, 0x2008, 0x2009, 0x200A, 0x2028,
                                    0x2029, 0x202F, 0x205F, 0x3000};

TEST(UnicodeSpace, EveryWhiteSpaceCharacterIsTrimmedFromBothEndsButKeptInside) {
  for (const char32_t c : white_space) {
    const std::string space = utf8(c);
    EXPECT_EQ(trim_unicode_space(space + space + "a" + space + "b" + space), "a" + space + "b")
        << "U+" << std::hex << static_cast<unsigned>(c);
    EXPECT_EQ(trim_unicode_space(space), "") << "U+" << std::hex << static_cast<unsigned>(c);
  }
}

TEST(UnicodeSpace, LookalikesAreNotWhiteSpace) {
  // Zero-width space, byte-order mark, Mongolian vowel separator, next to the
  // ranges: none of them has the property.
  for (const char32_t c : {char32_t{0x200B}, char32_t{0xFEFF}, char32_t{0x180E}, char32_t{0x1F},
                           char32_t{0x84}, char32_t{0x2030}, char32_t{0x3001}}) {
    EXPECT_FALSE(is_unicode_white_space(c)) << std::hex << static_cast<unsigned>(c);
    const std::string text = utf8(c) + "x" + utf8(c);
    EXPECT_EQ(trim_unicode_space(text), text);
  }
}

TEST(UnicodeSpace, BytesThatAreNoWhiteSpaceStopTheTrim) {
  // A lone continuation byte and a truncated no-break space are not spaces,
  // and neither is an overlong encoding of the blank.
  EXPECT_EQ(trim_unicode_space(" \xA0x\xC2 "), "\xA0x\xC2");
  EXPECT_EQ(trim_unicode_space("\xC0\xA0x"), "\xC0\xA0x");
  EXPECT_EQ(trim_unicode_space("caf\xC3\xA9 "), "caf\xC3\xA9");
  EXPECT_EQ(trim_unicode_space(""), "");
}

}  // namespace
}  // namespace kalvex
