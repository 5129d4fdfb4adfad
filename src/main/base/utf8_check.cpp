#include "utf8_check.hpp"

#include <cstddef>

namespace kalvex {

bool is_valid_utf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    // The length of the sequence and the range of its second byte: narrowing
    // that range is what rules out overlong forms, surrogates and code points
    // above U+10FFFF (the well-formed table of the Unicode standard).
    std::size_t length = 0;
    unsigned char second_min = 0x80;
    unsigned char second_max = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) second_min = 0xA0;
      if (lead == 0xED) second_max = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) second_min = 0x90;
      if (lead == 0xF4) second_max = 0x8F;
    } else {
      return false;  // a continuation byte, C0/C1 (always overlong) or F5 and up
    }
    if (text.size() - i < length) return false;
    const auto second = static_cast<unsigned char>(text[i + 1]);
    if (second < second_min || second > second_max) return false;
    for (std::size_t k = 2; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if (next < 0x80 || next > 0xBF) return false;
    }
    i += length;
  }
  return true;
}

}  // namespace kalvex
