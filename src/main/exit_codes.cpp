#include "exit_codes.hpp"

namespace kalvex {

void end_run(ExitCode status) { throw RunEnded{status}; }

}  // namespace kalvex
