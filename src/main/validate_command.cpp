#include "validate_command.hpp"

#include "std_streams.hpp"

namespace kalvex {

// Placeholder until the job lands.
void run_validate(ArgList) { write_stderr("kalvex: validate is not available yet\n"); }

}  // namespace kalvex
