#include "file_text.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "unique_fd.hpp"
#include "utf8_check.hpp"

namespace kalvex {

std::optional<std::string> read_file_text(const std::string& path) {
  if (path.empty()) return std::nullopt;
  UniqueFd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) return std::nullopt;
  struct stat info {};
  if (::fstat(file.get(), &info) != 0 || S_ISDIR(info.st_mode)) return std::nullopt;

  // The size is only a hint (a pipe or a growing file has none that holds), so
  // reading goes on until end of file; one spare byte lets a file of the hinted
  // size end without growing the buffer.
  const bool sized = S_ISREG(info.st_mode) && info.st_size > 0;
  std::string text(sized ? static_cast<std::size_t>(info.st_size) + 1 : std::size_t{1} << 16, '\0');
  std::size_t used = 0;
  for (;;) {
    if (used == text.size()) text.resize(text.size() * 2);
    const ssize_t n = ::read(file.get(), text.data() + used, text.size() - used);
    if (n > 0) {
      used += static_cast<std::size_t>(n);
    } else if (n == 0) {
      break;
    } else if (errno != EINTR) {
      return std::nullopt;
    }
  }
  text.resize(used);
  if (!is_valid_utf8(text)) return std::nullopt;
  return text;
}

}  // namespace kalvex
