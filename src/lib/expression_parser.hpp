// The expression language, read by recursive descent in one pass over the
// bytes, evaluating as it goes (no tokens, no tree). From the lowest
// precedence up:
//
//   parse_expr     term (("+" | "-") term)*           left-associative
//   parse_term     power (("*" | "/") power)*         left-associative
//   parse_power    unary [("^" | "**") unary]         does not chain
//   parse_unary    ["+" | "-"] primary                one sign at most
//   parse_primary  "(" expr [")"] | number | constant | name "(" expr ["," expr] [")"]
//
// Blanks are the space and the tab only. Each level yields a tracked value or
// a failure (nothing), which ends the whole parse at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "tracked_value.hpp"
#include "zone.hpp"

namespace kalvex::engine {

// Nesting beyond this fails the parse. Every "(" and every function argument
// descends one level through all five grammar functions; 256 levels keep the
// recursion far inside the stack even in sanitizer builds, whose frames are
// several times larger, while no real expression comes near it.
inline constexpr std::int32_t kMaxNestingDepth = 256;

struct ExprParser {
  std::string_view text;   // read byte by byte, never past its end
  const Zone& zone;        // built for this parse, only read
  std::size_t pos = 0;     // next unread byte; only moves forward
  std::int32_t depth = 0;  // open "(" and function arguments around pos
};

std::optional<TrackedValue> parse_expr(ExprParser& p);
std::optional<TrackedValue> parse_term(ExprParser& p);
std::optional<TrackedValue> parse_power(ExprParser& p);
std::optional<TrackedValue> parse_unary(ExprParser& p);
std::optional<TrackedValue> parse_primary(ExprParser& p);

}  // namespace kalvex::engine
