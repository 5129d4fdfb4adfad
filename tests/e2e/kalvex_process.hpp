// Runs the built kalvex as a real process and captures what it did, so that
// end-to-end tests can compare standard output, standard error, the exit status
// and written files byte for byte.
#pragma once

#include <sys/resource.h>
#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kalvex::e2e {

// Where the child's standard output goes.
enum class StdoutMode {
  captured,  // a pipe read by the test
  closed,    // descriptor 1 closed before exec (as with `>&-`)
  dev_full,  // /dev/full: every write fails with ENOSPC
  broken,    // a pipe whose reading end is already closed (EPIPE)
  file,      // the regular file RunOptions::stdout_file, created or truncated
};

struct RunOptions {
  std::filesystem::path working_dir = std::filesystem::current_path();
  // The child's whole environment; a cleaned one by default.
  std::vector<std::pair<std::string, std::string>> env = {{"PATH", "/usr/bin:/bin"}, {"LC_ALL", "C"}};
  StdoutMode stdout_mode = StdoutMode::captured;
  std::filesystem::path stdout_file{};  // for StdoutMode::file; opened before the chdir
  bool close_stderr = false;
  // The child's limit on the size of any file it writes, in bytes (RLIMIT_FSIZE).
  std::optional<rlim_t> file_size_limit{};
  // The child's file-creation mask (umask); the test process's own when unset.
  std::optional<mode_t> creation_mask{};
};

struct RunResult {
  std::string out;
  std::string err;
  int status = -1;      // exit status, or -1 when the child did not exit normally
  int term_signal = 0;  // the signal that ended the child, 0 when it exited
};

// Runs KALVEX_BINARY with `args` (element 0, the program name, is added).
RunResult run_kalvex(const std::vector<std::string>& args, const RunOptions& options = {});

// A fresh temporary directory, removed with everything in it when it goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // Writes `content` to a file under the directory and returns its path.
  std::filesystem::path write(const std::string& name, const std::string& content) const;

 private:
  std::filesystem::path path_;
};

// The whole content of a file, or nothing when it cannot be read.
std::optional<std::string> read_file(const std::filesystem::path& path);

// The content of a fixture file under tests/e2e/fixtures.
std::string fixture(const std::string& name);

}  // namespace kalvex::e2e
