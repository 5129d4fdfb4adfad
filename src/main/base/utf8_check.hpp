// Strict UTF-8 validation of the command-line arguments.
#pragma once

#include <string_view>

namespace kalvex {

// True when `text` is well-formed UTF-8: every sequence complete, in its
// shortest form, no surrogate code point (U+D800 to U+DFFF) and nothing above
// U+10FFFF. The empty text is valid.
bool is_valid_utf8(std::string_view text);

}  // namespace kalvex
