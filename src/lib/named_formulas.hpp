// The catalogue of named physics formulas. Each is evaluated twice: in plain
// doubles, reading the numbers positionally (p0, p1, p2), and drift-tracked,
// reading them as value-and-drift pairs. Both sides follow a fixed grouping
// of their own and use their own constants, so the two results differ in the
// last bits and, where the readings differ, in meaning.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "tracked_value.hpp"
#include "zone.hpp"

namespace kalvex::engine {

using DomainParams = std::span<const double>;

struct NamedFormula {
  std::string_view name;
  double (*plain)(DomainParams params);
  TrackedValue (*tracked)(DomainParams params, const Zone& zone);
};

// The fourteen formulas, names in lower case.
std::span<const NamedFormula> named_formulas();

// The tracked side's input k: params[2k] encoded, its drift set to
// params[2k + 1] in place of the encoding's remainder. Numbers past the end
// of the list read as 0.0.
TrackedValue tracked_param(DomainParams params, std::size_t k, const Zone& zone);

}  // namespace kalvex::engine
