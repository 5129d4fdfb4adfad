#include "file_marks.hpp"

#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string_view>

namespace kalvex {
namespace {

// The kernel drops file capabilities from a file on every write and change of
// owner, as it drops the set-ID bits; they go on last, with the mode.
constexpr std::string_view capability_attribute = "security.capability";

// Asks for the size, then fills; a list or value that grew in between is asked
// for again. Calls `read(buffer, size)` as flistxattr or fgetxattr.
template <typename Read>
std::optional<std::string> read_sized(Read read) {
  for (;;) {
    const ssize_t size = read(nullptr, 0);
    if (size < 0) return std::nullopt;
    std::string buffer(static_cast<std::size_t>(size), '\0');
    const ssize_t filled = read(buffer.data(), buffer.size());
    if (filled >= 0) {
      buffer.resize(static_cast<std::size_t>(filled));
      return buffer;
    }
    if (errno != ERANGE) return std::nullopt;
  }
}

// The names of the file's extended attributes; none on a file system without
// them.
std::optional<std::vector<std::string>> attribute_names(int fd) {
  const std::optional<std::string> list =
      read_sized([fd](char* buffer, std::size_t size) { return ::flistxattr(fd, buffer, size); });
  if (!list) {
    if (errno == ENOTSUP) return std::vector<std::string>{};
    return std::nullopt;
  }
  std::vector<std::string> names;
  for (std::size_t start = 0; start < list->size();) {
    const std::size_t end = list->find('\0', start);
    names.emplace_back(*list, start, end - start);
    start = end == std::string::npos ? list->size() : end + 1;
  }
  return names;
}

std::optional<std::string> attribute_value(int fd, const std::string& name) {
  return read_sized(
      [fd, &name](char* buffer, std::size_t size) { return ::fgetxattr(fd, name.c_str(), buffer, size); });
}

bool set_attribute(int fd, const std::string& name, const std::string& value) {
  return ::fsetxattr(fd, name.c_str(), value.data(), value.size(), 0) == 0;
}

}  // namespace

std::optional<FileMarks> read_file_marks(int fd, const struct stat& st) {
  FileMarks marks{st.st_uid, st.st_gid, static_cast<mode_t>(st.st_mode & 07777), {}};
  const std::optional<std::vector<std::string>> names = attribute_names(fd);
  if (!names) return std::nullopt;
  for (const std::string& name : *names) {
    std::optional<std::string> value = attribute_value(fd, name);
    if (!value) return std::nullopt;
    marks.attributes.emplace_back(name, std::move(*value));
  }
  return marks;
}

bool give_marks_before_writing(int fd, const FileMarks& marks) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return false;
  if ((st.st_uid != marks.owner || st.st_gid != marks.group) && ::fchown(fd, marks.owner, marks.group) != 0) {
    return false;
  }
  // An attribute that the new file already holds with the same value (a
  // security label given at creation) is left as it is: setting it may need a
  // privilege that keeping it does not.
  for (const auto& [name, value] : marks.attributes) {
    if (name == capability_attribute || attribute_value(fd, name) == value) continue;
    if (!set_attribute(fd, name, value)) return false;
  }
  const std::optional<std::vector<std::string>> names = attribute_names(fd);
  if (!names) return false;
  for (const std::string& name : *names) {
    const bool kept = std::any_of(marks.attributes.begin(), marks.attributes.end(),
                                  [&name](const auto& attribute) { return attribute.first == name; });
    if (!kept && ::fremovexattr(fd, name.c_str()) != 0) return false;
  }
  return true;
}

bool give_marks_after_writing(int fd, const FileMarks& marks) {
  if (::fchmod(fd, marks.mode) != 0) return false;
  for (const auto& [name, value] : marks.attributes) {
    if (name == capability_attribute && !set_attribute(fd, name, value)) return false;
  }
  // A set-group-ID bit that the kernel quietly refused, say, must not go
  // unnoticed.
  struct stat st {};
  return ::fstat(fd, &st) == 0 && st.st_uid == marks.owner && st.st_gid == marks.group &&
         (st.st_mode & 07777) == marks.mode;
}

}  // namespace kalvex
