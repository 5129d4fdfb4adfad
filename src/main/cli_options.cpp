#include "cli_options.hpp"

namespace kalvex {

std::optional<std::string_view> option_value(ArgList args, std::string_view option_word) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == option_word) {
      if (i + 1 < args.size()) return std::string_view(args[i + 1]);
      return std::nullopt;
    }
  }
  return std::nullopt;
}

std::optional<std::string> option_text(ArgList args, std::string_view option_word) {
  if (auto value = option_value(args, option_word)) return std::string(*value);
  return std::nullopt;
}

}  // namespace kalvex
