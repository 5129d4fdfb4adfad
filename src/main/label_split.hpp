// The "label = rhs" form of an expression.
#pragma once

#include <string>
#include <string_view>

namespace kalvex {

// The two texts made from an expression: either may be empty.
struct LabelSplit {
  std::string label;
  std::string rhs;
};

// Splits at the first "=" unless the text holds no "=" or holds "==" anywhere
// (then the label is empty and the whole text is the right-hand side). Both
// sides are trimmed of Unicode White_Space at their ends; a later "=" stays in
// the right-hand side.
LabelSplit split_label(std::string_view expression);

}  // namespace kalvex
