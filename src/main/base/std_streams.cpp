#include "std_streams.hpp"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace kalvex {
namespace {

void open_on_null_device_if_closed(int fd) {
  if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) return;
  // The lower descriptors are already open, so open() takes `fd` itself; the
  // dup2 only guards against that assumption ever failing.
  int opened = open("/dev/null", O_RDWR);
  if (opened < 0 || opened == fd) return;
  dup2(opened, fd);
  close(opened);
}

}  // namespace

void set_up_standard_streams() {
  for (int fd = 0; fd <= 2; ++fd) open_on_null_device_if_closed(fd);
  // Both signals would end the run without a word; ignored, the write that
  // raised them fails (EPIPE, EFBIG) and is reported like any other.
  signal(SIGPIPE, SIG_IGN);
  signal(SIGXFSZ, SIG_IGN);
  std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
  std::setvbuf(stderr, nullptr, _IONBF, 0);
}

void write_stdout(std::string_view text) {
  if (!text.empty()) std::fwrite(text.data(), 1, text.size(), stdout);
}

void write_stderr(std::string_view text) {
  if (!text.empty()) std::fwrite(text.data(), 1, text.size(), stderr);
}

bool finish_stdout() {
  bool flushed = std::fflush(stdout) == 0;
  return flushed && !std::ferror(stdout);
}

}  // namespace kalvex
