// The fixed texts for people: the usage text, the two help texts, the command
// reference and the version line, each assembled once from its stored body
// (texts/*.txt) and the notices. Every text ends with exactly one newline and
// is written whole, with nothing added before or after it.
#pragma once

#include <string>
#include <string_view>

#include "embedded_texts.hpp"

namespace kalvex {

// Header line with the copyright notice, the usage body, and a closing line
// with the web address and the support mailbox. Written to standard error.
extern const std::string USAGE_TEXT;
// Help on `compute` and on `validate`, stored whole. Standard error.
inline const std::string_view& COMPUTE_HELP_TEXT = texts::compute_help;
inline const std::string_view& VALIDATE_HELP_TEXT = texts::validate_help;
// Title, copyright and patent lines, an empty line, the reference body, and a
// closing line with the support mailbox. Written to standard output.
extern const std::string REFERENCE_TEXT;
// "kalvex", the version and " - " with the copyright and patent notices.
// Standard output.
extern const std::string VERSION_LINE;

// Writes USAGE_TEXT to standard error.
void print_usage();

}  // namespace kalvex
