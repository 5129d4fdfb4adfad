// The expression job: one expression, with its label and parameters, evaluated
// by the engine and turned into an expression result document.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "flat_document.hpp"
#include "param_map.hpp"

namespace kalvex {

inline constexpr std::string_view expression_unsupported_status =
    "unsupported: unknown identifier or function in expression";

// Splits the label off, substitutes the parameters, asks the engine once and
// builds the document: "expression" is the text as given, "evaluated" the
// substituted right-hand side, "status" "ok" exactly when the value is finite.
// The precision is only echoed (null when absent). The document keeps the
// label and the substituted text itself; it refers to `expression`, `zone` and
// `precision`, which the caller keeps alive while the document lives.
FlatDocument build_expression_result(std::string_view expression, const ParamMap& params,
                                     std::string_view zone, std::optional<std::string_view> precision);

// Builds the document and writes it with emit_document (standard output when
// there is no path); an unwritable path ends the run with status 1.
void run_expression_job(std::string_view expression, const ParamMap& params, std::string_view zone,
                        std::optional<std::string_view> precision,
                        const std::optional<std::string>& output_path);

}  // namespace kalvex
