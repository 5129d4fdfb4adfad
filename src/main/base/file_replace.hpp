// Writing a whole file from its text, replacing whatever the file held.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace kalvex {

// Writes `pieces`, one after another, as the whole content of the file at
// `path` (used unchanged, relative to the working directory unless absolute).
//
// A regular file, or a name where nothing stands yet, is replaced whole or not
// at all: the text goes to a new hidden file beside it, which takes the place
// of the old one only once every byte is written, so a failed write leaves the
// old file exactly as it was. The new file keeps the old one's permission bits
// (and its owner and group where that is allowed); a file that did not exist
// is created rw for owner, group and others as far as the file-creation mask
// allows. Symbolic links stay links, and the file at their end is replaced.
//
// Anything else (a device such as /dev/null, a FIFO, whatever /dev/stdout
// leads to) is written in place, as is a file beside which nothing can be
// created (a directory without write permission).
//
// False on any failure: nothing to write to, no permission, a short write to
// a full device or past the file-size limit, a failing close.
bool write_whole_file(const std::string& path, std::span<const std::string_view> pieces);

}  // namespace kalvex
