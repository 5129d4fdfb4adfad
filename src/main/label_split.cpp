#include "label_split.hpp"

#include "unicode_space.hpp"

namespace kalvex {

LabelSplit split_label(std::string_view expression) {
  const std::size_t equals = expression.find('=');
  if (equals == std::string_view::npos || expression.find("==") != std::string_view::npos) {
    return {std::string(), std::string(trim_unicode_space(expression))};
  }
  return {std::string(trim_unicode_space(expression.substr(0, equals))),
          std::string(trim_unicode_space(expression.substr(equals + 1)))};
}

}  // namespace kalvex
