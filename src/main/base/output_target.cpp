#include "output_target.hpp"

#include <fcntl.h>
#include <limits.h>
#include <sys/vfs.h>

#include <cerrno>
#include <charconv>
#include <initializer_list>
#include <string_view>
#include <utility>

namespace kalvex {
namespace {

// The kernel follows no more links than this in one name (MAXSYMLINKS), so a
// longer chain could not be opened either.
constexpr int max_link_hops = 40;
// f_type of the /proc file system (PROC_SUPER_MAGIC).
constexpr long proc_file_system = 0x9fa0;

// "a/b/c" as "a/b/" and "c"; a bare name lies in ".".
std::pair<std::string, std::string> split_last_name(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) return {".", std::string(path)};
  return {std::string(path.substr(0, slash + 1)), std::string(path.substr(slash + 1))};
}

// A directory held only as a place to name things from (O_PATH asks for no
// permission on the directory itself).
UniqueFd open_directory(int from, const std::string& name) {
  return UniqueFd(::openat(from, name.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
}

bool lies_in_proc(int directory) {
  struct statfs file_system {};
  return ::fstatfs(directory, &file_system) != 0 || file_system.f_type == proc_file_system;
}

// Whether `directory` is this process's own descriptor directory. While it is
// held open, /proc resolves these names to that very directory, so device and
// inode tell it apart from another process's.
bool is_own_descriptor_directory(int directory) {
  struct stat held {};
  if (::fstat(directory, &held) != 0) return false;
  for (const char* own : {"/proc/self/fd", "/proc/thread-self/fd"}) {
    struct stat st {};
    if (::stat(own, &st) == 0 && st.st_dev == held.st_dev && st.st_ino == held.st_ino) return true;
  }
  return false;
}

std::optional<int> descriptor_number(const std::string& name) {
  int fd = -1;
  const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), fd);
  if (error != std::errc() || end != name.data() + name.size() || fd < 0) return std::nullopt;
  return fd;
}

}  // namespace

OutputTarget find_output_target(const std::string& path) {
  if (path.empty() || path.back() == '/') return OpenAsItStands{};
  auto [directory_name, name] = split_last_name(path);
  UniqueFd directory = open_directory(AT_FDCWD, directory_name);
  for (int hops = 0; directory.valid(); ++hops) {
    struct stat st {};
    const bool exists = ::fstatat(directory.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
    if (!exists && errno != ENOENT) break;
    // Links in /proc stand for open files, not names: this process's own
    // descriptors are written through as they are. Anything else there (a
    // setting under /proc/sys, another process's descriptor) is opened as it
    // stands; no file can be put beside it.
    if (lies_in_proc(directory.get())) {
      if (!is_own_descriptor_directory(directory.get())) break;
      const std::optional<int> fd = descriptor_number(name);
      if (exists && fd) return OwnDescriptor{*fd};
      return ClosedDescriptor{};
    }
    if (!exists) return NamedFile{std::move(directory), std::move(name)};
    if (S_ISREG(st.st_mode)) return NamedFile{std::move(directory), std::move(name), st};
    if (!S_ISLNK(st.st_mode) || hops == max_link_hops) break;

    char target[PATH_MAX];
    const ssize_t length = ::readlinkat(directory.get(), name.c_str(), target, sizeof target);
    if (length <= 0 || static_cast<std::size_t>(length) == sizeof target) break;
    const std::string_view text(target, static_cast<std::size_t>(length));
    if (text.back() == '/') break;
    auto [target_directory, target_name] = split_last_name(text);
    directory = open_directory(text.front() == '/' ? AT_FDCWD : directory.get(), target_directory);
    name = std::move(target_name);
  }
  return OpenAsItStands{};
}

}  // namespace kalvex
