// Feeds arbitrary bytes to the JSON reader. Whatever parses must survive a
// round trip: written out and read back, it is the same value, and writing that
// value again gives the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include <nlohmann/json.hpp>

#include "json_text.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Longer inputs only repeat what short ones already reach, more slowly.
  if (size > 1 << 16) return 0;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  auto value = kalvex::parse_json(text);
  if (!value) return 0;
  std::string written = kalvex::to_pretty_json(*value);
  auto reread = kalvex::parse_json(written);
  if (!reread || *reread != *value) std::abort();
  if (kalvex::to_pretty_json(*reread) != written) std::abort();
  return 0;
}
