// Writing to the process's standard streams. Standard output is line-buffered
// and standard error unbuffered (set up once at start-up); a failed write to
// standard output is remembered by the stream itself and checked when the run
// ends, so that it never passes as success.
#pragma once

#include <string_view>

namespace kalvex {

void write_stdout(std::string_view text);
void write_stderr(std::string_view text);

}  // namespace kalvex
