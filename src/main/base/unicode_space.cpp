#include "unicode_space.hpp"

#include <cstddef>

namespace kalvex {
namespace {

// The code point of the UTF-8 sequence that starts at `pos`, with its length in
// bytes; a byte that starts no well-formed sequence of up to three bytes gives
// length 0. Three bytes suffice: every White_Space code point lies below U+10000.
struct Decoded {
  char32_t code_point;
  std::size_t length;
};

bool is_continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

Decoded decode_at(std::string_view text, std::size_t pos) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
  const std::size_t left = text.size() - pos;
  const unsigned char lead = byte(0);
  if (lead < 0x80) return {lead, 1};
  if ((lead & 0xE0) == 0xC0 && left >= 2 && is_continuation(byte(1))) {
    const char32_t c = static_cast<char32_t>(((lead & 0x1F) << 6) | (byte(1) & 0x3F));
    if (c >= 0x80) return {c, 2};
  }
  if ((lead & 0xF0) == 0xE0 && left >= 3 && is_continuation(byte(1)) && is_continuation(byte(2))) {
    const char32_t c =
        static_cast<char32_t>(((lead & 0x0F) << 12) | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F));
    if (c >= 0x800) return {c, 3};
  }
  // Anything else (a longer sequence, a stray or overlong byte) is no white space.
  return {0, 0};
}

// Length in bytes of the White_Space character that ends exactly at `end`, or 0.
std::size_t white_space_ending_at(std::string_view text, std::size_t end) {
  for (std::size_t length = 1; length <= 3 && length <= end; ++length) {
    const Decoded decoded = decode_at(text, end - length);
    if (decoded.length == length) return is_unicode_white_space(decoded.code_point) ? length : 0;
  }
  return 0;
}

}  // namespace

bool is_unicode_white_space(char32_t c) {
  return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
         c == 0x205F || c == 0x3000;
}

std::string_view trim_unicode_space(std::string_view text) {
  std::size_t begin = 0;
  while (begin < text.size()) {
    const Decoded decoded = decode_at(text, begin);
    if (decoded.length == 0 || !is_unicode_white_space(decoded.code_point)) break;
    begin += decoded.length;
  }
  std::size_t end = text.size();
  while (end > begin) {
    const std::size_t length = white_space_ending_at(text, end);
    if (length == 0 || end - length < begin) break;
    end -= length;
  }
  return text.substr(begin, end - begin);
}

}  // namespace kalvex
