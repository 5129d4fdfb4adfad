// Writing to the process's standard streams. Standard output is line-buffered
// and standard error unbuffered (set up once at start-up); a failed write to
// standard output is remembered by the stream itself and checked when the run
// ends, so that it never passes as success.
#pragma once

#include <string_view>

namespace kalvex {

// Start-up, before anything is read or written: every closed standard
// descriptor (0, 1, 2) is opened on /dev/null, so that no file the run opens
// later lands on one of them; the broken-pipe and file-size-limit signals are
// ignored, so that a write into a closed pipe or past the limit on file sizes
// fails instead of killing the process; standard output becomes line-buffered
// and standard error unbuffered.
void set_up_standard_streams();

void write_stdout(std::string_view text);
void write_stderr(std::string_view text);

// Flushes standard output. False when the flush, or any earlier write to
// standard output, failed.
bool finish_stdout();

}  // namespace kalvex
