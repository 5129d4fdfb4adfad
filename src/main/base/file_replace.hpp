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
// of the old one only once every byte is written, so a failed write, or a
// signal that ends the process meanwhile, leaves the old file exactly as it
// was and nothing beside it. While it is written, the new text is open to its
// owner alone; it then takes over the old file's owner, group, mode and
// extended attributes (the access ACL among them). A file that did not exist
// is created rw for owner, group and others as far as the file-creation mask
// allows. Symbolic links stay links, and the file at their end is replaced.
//
// Written in place instead, as an open of the path writes it: anything that
// is no regular file (a device such as /dev/null, a FIFO); a file in a
// directory that refuses new names for lack of permission; and a file that a
// new one could not stand in for unnoticed (another user's, one whose group
// the writer is not in, one with an attribute the writer may not set, one with
// several hard links). A path that names one of the process's own open
// descriptors (/dev/stdout, /dev/fd/N) is written through that descriptor, at
// its offset and in its append mode, without opening or truncating anything.
//
// False on any failure: nothing to write to, no permission, a descriptor that
// is not open, no room for the new file, a short write to a full device or
// past the file-size limit, a failing close.
bool write_whole_file(const std::string& path, std::span<const std::string_view> pieces);

}  // namespace kalvex
