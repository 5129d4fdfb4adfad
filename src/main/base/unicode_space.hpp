// White space in the sense of the Unicode White_Space property, for trimming
// the texts that people type: expression labels and right-hand sides, and the
// support message.
#pragma once

#include <string_view>

namespace kalvex {

// True for the 25 code points with the White_Space property: U+0009 to U+000D,
// U+0020, U+0085, U+00A0, U+1680, U+2000 to U+200A, U+2028, U+2029, U+202F,
// U+205F and U+3000.
bool is_unicode_white_space(char32_t code_point);

// `text` (UTF-8) without the White_Space characters at either end; those
// inside stay. The view refers into `text`.
std::string_view trim_unicode_space(std::string_view text);

}  // namespace kalvex
