#include "cli_dispatch.hpp"

#include "notices.hpp"
#include "std_streams.hpp"

namespace kalvex {

// Placeholder until the dispatch lands.
int process_main(int, char**) {
  write_stdout("kalvex ");
  write_stdout(VERSION);
  write_stdout("\n");
  return 0;
}

}  // namespace kalvex
