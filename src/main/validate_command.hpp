// The validate command: the built-in reference check with its text report and
// JSON document.
#pragma once

#include "cli_options.hpp"

namespace kalvex {

// Runs the validation with the arguments after the command word; returns on
// PASS, ends the run with status 1 (no reference) or 3 (FAIL).
void run_validate(ArgList args);

}  // namespace kalvex
