// The domain job: one named formula evaluated by the engine on positional
// numbers and turned into a domain result document.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "flat_document.hpp"
#include "json_text.hpp"

namespace kalvex {

// A formula's numbers, in order, handed to the engine unchanged.
using DomainParams = std::vector<double>;

// The formula names whose results get the status "ok". The engine computes a
// few more; those are reported in full with "unknown_domain".
inline constexpr std::array<std::string_view, 9> recognized_domains = {
    "wien",         "e_mc2",         "hawking",       "coulomb",          "de_broglie",
    "bohr_energy",  "planck_energy", "schwarzschild", "stefan_boltzmann",
};

// Exact, case-sensitive membership in recognized_domains.
bool is_recognized_domain(std::string_view name);

// The numbers among the elements of an array, in order, as doubles by
// json_number_as_double; other elements are skipped, nested ones not searched.
// A value that is not an array gives an empty list.
DomainParams numbers_from_array(const JsonValue& array);

// The numbers among the members' values of an object, in the object's key
// order (ascending bytes, not the order of the text); keys are dropped.
// A value that is not an object gives an empty list.
DomainParams numbers_from_object(const JsonValue& object);

// The numbers of a --params value: an array's or an object's, nothing for any
// other value or for text that did not parse.
DomainParams domain_params_from_json(const std::optional<JsonValue>& value);

// Asks the engine once and builds the document: "params" echoes the numbers,
// "status" is "ok" exactly when the name is recognised, whatever the figures.
// The document keeps the numbers; it refers to `name`, `zone` and `precision`,
// which the caller keeps alive while the document lives.
FlatDocument build_domain_result(std::string_view name, DomainParams params, std::string_view zone,
                                 std::optional<std::string_view> precision);

// Builds the document and writes it with emit_document (standard output when
// there is no path); an unwritable path ends the run with status 1.
void run_domain_job(std::string_view name, DomainParams params, std::string_view zone,
                    std::optional<std::string_view> precision,
                    const std::optional<std::string>& output_path);

}  // namespace kalvex
