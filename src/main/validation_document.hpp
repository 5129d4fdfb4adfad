// The two documents of the validate command.
#pragma once

#include <string>
#include <string_view>

#include "result_document.hpp"
#include "validation_report.hpp"

namespace kalvex {

// The one domain with a built-in reference.
inline constexpr std::string_view validated_domain = "hawking";

// The validation result: the six figures (each null when not finite) in the
// "kalvex" and "ieee754" groups, the tolerance, the verdict and the result.
ResultDocument build_validation_document(const ValidationReport& report);

// The answer for a domain without a built-in reference: status "no_reference"
// and the list of supported domains.
ResultDocument build_no_reference_document(std::string_view domain);

// The one-line message on standard error that goes with it.
std::string no_reference_message(std::string_view domain);

}  // namespace kalvex
