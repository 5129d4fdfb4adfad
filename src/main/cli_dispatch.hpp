// The process entry and the command dispatch.
#pragma once

namespace kalvex {

// Start-up (standard descriptors, broken-pipe signal, stream buffering), the
// argument collection, the dispatch of one command, and the exit status.
int process_main(int argc, char** argv);

}  // namespace kalvex
