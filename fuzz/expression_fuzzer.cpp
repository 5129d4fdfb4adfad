// Evaluates arbitrary bytes as an expression in each of the four zones. The
// engine must answer every text with its figures, never crash or overflow its
// stack, and answer the same text the same way every time (it keeps nothing
// between calls).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "kalvex/engine.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 1 << 16) return 0;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  for (std::string_view zone : {"lucas", "sinh", "linear_ev", "linear_cfd"}) {
    kalvex::ExpressionFigures first = kalvex::evaluate_expression(text, zone);
    kalvex::ExpressionFigures second = kalvex::evaluate_expression(text, zone);
    // Bits, not ==, so that a NaN compares equal to itself.
    if (std::memcmp(&first, &second, sizeof first) != 0) std::abort();
  }
  return 0;
}
