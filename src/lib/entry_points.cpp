#include "kalvex/engine.hpp"

#include <limits>

namespace kalvex {

// Placeholder until the engine lands.
ExpressionFigures evaluate_expression(std::string_view, std::string_view) {
  return {std::numeric_limits<double>::quiet_NaN(), 0.0, 0.0};
}
DomainFigures compute_domain(std::string_view, std::span<const double>, std::string_view) {
  return {0.0, 0.0, 0.0, 0.0};
}
ValidationFigures validate_hawking(std::string_view) { return {0, 0, 0, 0, 0, 0}; }

}  // namespace kalvex
