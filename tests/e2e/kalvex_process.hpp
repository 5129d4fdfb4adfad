// Runs the built kalvex as a real process and captures what it did, so that
// end-to-end tests can compare standard output, standard error, the exit status
// and written files byte for byte.
#pragma once

#include <sys/resource.h>
#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace kalvex::e2e {

class OtherUser;

// Where the child's standard output goes.
enum class StdoutMode {
  captured,  // a pipe read by the test
  closed,    // descriptor 1 closed before exec (as with `>&-`)
  dev_full,  // /dev/full: every write fails with ENOSPC
  broken,    // a pipe whose reading end is already closed (EPIPE)
  file,      // the regular file RunOptions::stdout_file, created or truncated
  appended,  // RunOptions::stdout_file opened for appending, as with `>>`
  socket,    // one end of a socket pair whose other end the test reads
};

struct RunOptions {
  // Where the child starts; when empty, the test's own working directory, or
  // the other user's home when `user` is set.
  std::filesystem::path working_dir{};
  // The child's whole environment; a cleaned one by default.
  std::vector<std::pair<std::string, std::string>> env = {{"PATH", "/usr/bin:/bin"}, {"LC_ALL", "C"}};
  StdoutMode stdout_mode = StdoutMode::captured;
  std::filesystem::path stdout_file{};  // for StdoutMode::file; opened before the chdir
  bool close_stderr = false;
  bool stderr_to_stdout = false;  // as with `2>&1`; RunResult::err then stays empty
  // The child's limit on the size of any file it writes, in bytes (RLIMIT_FSIZE).
  std::optional<rlim_t> file_size_limit{};
  // The child's file-creation mask (umask); the test process's own when unset.
  std::optional<mode_t> creation_mask{};
  // The user the child becomes, with no supplementary groups, after its
  // standard streams are open; it then starts that user's copy of kalvex
  // (needs root). Not owned: it outlives the run.
  const OtherUser* user = nullptr;
};

// The directory a run with these options starts in.
std::filesystem::path working_dir_of(const RunOptions& options);

struct RunResult {
  std::string out;
  std::string err;
  int status = -1;      // exit status, or -1 when the child did not exit normally
  int term_signal = 0;  // the signal that ended the child, 0 when it exited
};

// KALVEX_BINARY (or the other user's copy of it) started with `args` (element 0, the program name, is added),
// running on while the test watches it. The child starts with every signal at
// its default and none blocked, as from an interactive shell.
class KalvexChild {
 public:
  explicit KalvexChild(const std::vector<std::string>& args, const RunOptions& options = {});
  ~KalvexChild();  // a child that was not waited for is killed and reaped
  KalvexChild(const KalvexChild&) = delete;
  KalvexChild& operator=(const KalvexChild&) = delete;

  pid_t pid() const { return pid_; }
  // Reads standard output and standard error to their end, then reaps the
  // child. Once only.
  RunResult wait();

 private:
  pid_t pid_ = -1;
  int out_fd_ = -1;
  int err_fd_ = -1;
};

// Runs kalvex to its end.
RunResult run_kalvex(const std::vector<std::string>& args, const RunOptions& options = {});

// Runs kalvex to its end while watching its working directory: `on_new_file`
// is called with the running child and the name of each file created there,
// as soon as the kernel tells of it (the file may be gone again by then).
RunResult run_kalvex_watching(const std::vector<std::string>& args, const RunOptions& options,
                              const std::function<void(const KalvexChild&, const std::string&)>& on_new_file);

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

// The names in a directory, to show what a run left behind.
std::set<std::string> names_in(const std::filesystem::path& dir);

// A batch of `items` copies of one small expression: its document is about
// 600 bytes an item, so that a write of it takes a while.
std::string large_batch(int items);

// The whole content of a file, or nothing when it cannot be read.
std::optional<std::string> read_file(const std::filesystem::path& path);

// The content of a fixture file under tests/e2e/fixtures.
std::string fixture(const std::string& name);

}  // namespace kalvex::e2e
