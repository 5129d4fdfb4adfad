#include "compute_command.hpp"

#include "std_streams.hpp"

namespace kalvex {

// Placeholder until the job lands.
void run_compute(ArgList) { write_stderr("kalvex: compute is not available yet\n"); }

}  // namespace kalvex
