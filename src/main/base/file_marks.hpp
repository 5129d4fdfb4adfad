// What anybody who looks at a file can see of it besides its content: who owns
// it, its mode and its extended attributes (the access ACL among them). A file
// that takes another's place must carry all of these over, or somebody gains or
// loses access by the swap.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kalvex {

struct FileMarks {
  uid_t owner;
  gid_t group;
  mode_t mode;  // permission bits with the set-ID and sticky bits
  // Every extended attribute the process can see, name and value.
  std::vector<std::pair<std::string, std::string>> attributes;
};

// The marks of the open file `fd`, whose status is `st`. Nothing when its
// attributes cannot be read, so that they could not be carried over either.
std::optional<FileMarks> read_file_marks(int fd, const struct stat& st);

// Gives the file `fd`, new and still empty, the owner, group and attributes of
// `marks`, and takes away any attribute it got that `marks` does not have (an
// ACL inherited from the directory, say). False when any of them cannot be
// given: another user's file, a group the writer is not in, an attribute the
// writer may not set.
bool give_marks_before_writing(int fd, const FileMarks& marks);

// Gives the file `fd`, now fully written, the mode and what a write would have
// cleared (the set-ID bits, file capabilities), and checks that it shows the
// owner, group and mode of `marks`. False when it does not.
bool give_marks_after_writing(int fd, const FileMarks& marks);

}  // namespace kalvex
