// Reading a whole file as UTF-8 text.
#pragma once

#include <optional>
#include <string>

namespace kalvex {

// The whole content of the file at `path` (relative to the working directory
// unless absolute, used unchanged), or nothing when it cannot be opened or read
// (no such file, no permission, a directory, the empty path) or is not
// well-formed UTF-8. The reason is not kept: callers only tell text from none.
std::optional<std::string> read_file_text(const std::string& path);

}  // namespace kalvex
