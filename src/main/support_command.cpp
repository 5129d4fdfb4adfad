#include "support_command.hpp"

#include "std_streams.hpp"

namespace kalvex {

// Placeholder until the job lands.
void run_support(ArgList) { write_stderr("kalvex: support is not available yet\n"); }

}  // namespace kalvex
