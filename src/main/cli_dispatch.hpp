// The process entry and the command dispatch.
#pragma once

#include "cli_options.hpp"

namespace kalvex {

// Start-up (standard descriptors, broken-pipe signal, stream buffering), the
// argument collection, the dispatch of one command, and the exit status. Every
// way out flushes standard output; a failed write to it turns the run into a
// failure (status 1) with a message on standard error.
int process_main(int argc, char** argv);

// Chooses and runs one command. `arguments` are the process arguments after
// the program name: the command word first, then the arguments after it.
// Returns normally (status 0) or ends the run with a status of ExitCode.
void run_cli(ArgList arguments);

}  // namespace kalvex
