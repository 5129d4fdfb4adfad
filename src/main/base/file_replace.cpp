#include "file_replace.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace kalvex {

bool write_whole_file(const std::string& path, std::span<const std::string_view> pieces) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool ok = true;
  for (const std::string_view text : pieces) {
    std::size_t written = 0;
    while (ok && written < text.size()) {
      const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
      if (n > 0) {
        written += static_cast<std::size_t>(n);
      } else if (n < 0 && errno == EINTR) {
        continue;
      } else {
        ok = false;
      }
    }
  }
  if (::close(fd) != 0) ok = false;
  return ok;
}

}  // namespace kalvex
