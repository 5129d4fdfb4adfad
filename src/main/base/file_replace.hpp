// Writing a whole file from its text.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace kalvex {

// Writes `pieces`, one after another, as the whole content of the file at
// `path` (used unchanged, relative to the working directory unless absolute).
// A new file is created rw for owner, group and others as far as the
// file-creation mask allows. False on any failure, a short write to a full
// device and a failing close included.
bool write_whole_file(const std::string& path, std::span<const std::string_view> pieces);

}  // namespace kalvex
