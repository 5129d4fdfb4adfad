// The exit statuses of every run, and the one way a command ends a run early.
#pragma once

namespace kalvex {

enum class ExitCode : int {
  success = 0,            // run_cli returned normally
  failure = 1,            // usage error, unusable input, unwritable output, a batch item not "ok", no reference
  validation_failed = 3,  // validate ran and its result is FAIL
};

// Thrown by end_run and caught only by process_main, which flushes standard
// output and ends the process with `status`. Unwinding (rather than exit())
// keeps destructors running and lets tests observe the status.
struct RunEnded {
  ExitCode status;
};

// Ends the run at once: nothing the caller would have done afterwards happens.
[[noreturn]] void end_run(ExitCode status);

}  // namespace kalvex
