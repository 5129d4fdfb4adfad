// Option lookup among the arguments after the command word.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kalvex {

// The arguments after the command word, in order.
using ArgList = std::span<const std::string>;

// The argument after the first one exactly equal to `option_word` (written
// whole, "--zone"), unchanged and possibly empty; nothing when no argument
// equals the word or the first one that does is the last argument. Later
// occurrences are never looked at. The view refers into `args`.
std::optional<std::string_view> option_value(ArgList args, std::string_view option_word);

// The same, copied into an owned text.
std::optional<std::string> option_text(ArgList args, std::string_view option_word);

}  // namespace kalvex
