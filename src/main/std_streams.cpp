#include "std_streams.hpp"

#include <cstdio>

namespace kalvex {

void write_stdout(std::string_view text) {
  if (!text.empty()) std::fwrite(text.data(), 1, text.size(), stdout);
}

void write_stderr(std::string_view text) {
  if (!text.empty()) std::fwrite(text.data(), 1, text.size(), stderr);
}

}  // namespace kalvex
