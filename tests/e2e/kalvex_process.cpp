#include "kalvex_process.hpp"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace kalvex::e2e {
namespace {

void check(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

// Reads both pipes until both reach end of file, so that neither side blocks.
void drain(int out_fd, int err_fd, std::string& out, std::string& err) {
  pollfd fds[2] = {{out_fd, POLLIN, 0}, {err_fd, POLLIN, 0}};
  std::string* sinks[2] = {&out, &err};
  int open_count = (out_fd >= 0) + (err_fd >= 0);
  char buffer[65536];
  while (open_count > 0) {
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      check(false, "poll");
    }
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(n));
      } else if (n == 0 || errno != EINTR) {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open_count;
      }
    }
  }
}

}  // namespace

RunResult run_kalvex(const std::vector<std::string>& args, const RunOptions& options) {
  int out_pipe[2] = {-1, -1};
  int err_pipe[2] = {-1, -1};
  if (options.stdout_mode == StdoutMode::captured || options.stdout_mode == StdoutMode::broken) {
    check(pipe2(out_pipe, O_CLOEXEC) == 0, "pipe");
  }
  if (!options.close_stderr) check(pipe2(err_pipe, O_CLOEXEC) == 0, "pipe");

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  switch (options.stdout_mode) {
    case StdoutMode::captured:
    case StdoutMode::broken:
      posix_spawn_file_actions_adddup2(&actions, out_pipe[1], 1);
      break;
    case StdoutMode::closed:
      posix_spawn_file_actions_addclose(&actions, 1);
      break;
    case StdoutMode::dev_full:
      posix_spawn_file_actions_addopen(&actions, 1, "/dev/full", O_WRONLY, 0);
      break;
  }
  if (options.close_stderr) {
    posix_spawn_file_actions_addclose(&actions, 2);
  } else {
    posix_spawn_file_actions_adddup2(&actions, err_pipe[1], 2);
  }
  posix_spawn_file_actions_addchdir_np(&actions, options.working_dir.c_str());

  std::vector<std::string> argv_text = {KALVEX_BINARY};
  argv_text.insert(argv_text.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : argv_text) argv.push_back(a.data());
  argv.push_back(nullptr);

  std::vector<std::string> env_text;
  for (const auto& [name, value] : options.env) env_text.push_back(name + "=" + value);
  std::vector<char*> envp;
  for (auto& e : env_text) envp.push_back(e.data());
  envp.push_back(nullptr);

  // A reader that is gone before the child writes turns every write into EPIPE.
  if (options.stdout_mode == StdoutMode::broken) {
    close(out_pipe[0]);
    out_pipe[0] = -1;
  }

  pid_t pid = -1;
  int rc = posix_spawn(&pid, KALVEX_BINARY, &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (out_pipe[1] >= 0) close(out_pipe[1]);
  if (err_pipe[1] >= 0) close(err_pipe[1]);
  if (rc != 0) {
    errno = rc;
    check(false, "posix_spawn");
  }

  RunResult result;
  drain(out_pipe[0], err_pipe[0], result.out, result.err);
  int wait_status = 0;
  while (waitpid(pid, &wait_status, 0) < 0) check(errno == EINTR, "waitpid");
  if (WIFEXITED(wait_status)) result.status = WEXITSTATUS(wait_status);
  if (WIFSIGNALED(wait_status)) result.term_signal = WTERMSIG(wait_status);
  return result;
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "kalvex-e2e-XXXXXX").string();
  check(mkdtemp(pattern.data()) != nullptr, "mkdtemp");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path TempDir::write(const std::string& name, const std::string& content) const {
  auto file = path_ / name;
  std::ofstream stream(file, std::ios::binary);
  stream << content;
  return file;
}

std::optional<std::string> read_file(const std::filesystem::path& path) {
  std::ifstream stream(path, std::ios::binary);
  if (!stream) return std::nullopt;
  std::ostringstream content;
  content << stream.rdbuf();
  return content.str();
}

std::string fixture(const std::string& name) {
  auto content = read_file(std::filesystem::path(KALVEX_E2E_FIXTURES) / name);
  if (!content) throw std::runtime_error("missing fixture " + name);
  return *content;
}

}  // namespace kalvex::e2e
