// The compute command: one computation or a batch, chosen by the first selector
// present among --input, --expression and --domain.
#pragma once

#include "cli_options.hpp"

namespace kalvex {

// Runs the compute command with the arguments after the command word. Returns
// normally (status 0) or ends the run with a status of ExitCode.
void run_compute(ArgList args);

}  // namespace kalvex
