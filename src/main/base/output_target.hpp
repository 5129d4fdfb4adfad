// What a path given for output names, once every symbolic link on its way has
// been followed.
#pragma once

#include <sys/stat.h>

#include <optional>
#include <string>
#include <variant>

#include "unique_fd.hpp"

namespace kalvex {

// A regular file, or a name where nothing stands yet, in a directory that is
// held open: names beside it are made relative to the directory, so they need
// not fit into one path together with it.
struct NamedFile {
  UniqueFd directory;
  std::string name;                       // a single name, no "/" in it
  std::optional<struct stat> existing{};  // nothing when no file stands there yet
};

// One of the process's own open descriptors (/dev/stdout, /dev/fd/N,
// /proc/self/fd/N, or a link that leads to one of them).
struct OwnDescriptor {
  int fd;
};

// A name among the process's own descriptors for one that is not open.
struct ClosedDescriptor {};

// Anything that is opened by its path as it stands: a device, a FIFO, another
// process's descriptor, what cannot be looked at (the open then tells why).
struct OpenAsItStands {};

using OutputTarget = std::variant<NamedFile, OwnDescriptor, ClosedDescriptor, OpenAsItStands>;

// Follows `path` (relative to the working directory unless absolute) link by
// link, each relative link target read against the link's own directory, at
// most as many links as the kernel would follow in one open.
OutputTarget find_output_target(const std::string& path);

}  // namespace kalvex
