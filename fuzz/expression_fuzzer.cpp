// Evaluates arbitrary bytes as an expression in each of the four zones. The
// engine must answer every text with its figures, never crash or overflow its
// stack, and a failed parse must give exactly the failure figures.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "kalvex/engine.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 1 << 16) return 0;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  for (std::string_view zone : {"lucas", "sinh", "linear_ev", "linear_cfd"}) {
    kalvex::ExpressionFigures figures = kalvex::evaluate_expression(text, zone);
    // Zero drift with a NaN value is either the failure answer or a NaN that
    // carried no drift; a NaN drift is only possible with a NaN value.
    if (std::isnan(figures.drift) && !std::isnan(figures.value)) std::abort();
  }
  return 0;
}
