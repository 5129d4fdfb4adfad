#include "kalvex_process.hpp"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "other_user.hpp"

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

// The child's way out when it cannot become kalvex: its errno goes to the
// parent, which throws it.
[[noreturn]] void report_and_exit(int report_fd) {
  const int error = errno;
  if (write(report_fd, &error, sizeof error) < 0) _exit(126);
  _exit(127);
}

// Everything the child does between fork and exec, on values prepared before
// the fork: only async-signal-safe calls, and no allocation.
[[noreturn]] void exec_child(const RunOptions& options, const char* stdout_file, const char* working_dir,
                             int out_write, int err_write, int report_fd, char* const* argv, char* const* envp) {
  const auto fail = [report_fd] { report_and_exit(report_fd); };
  const auto open_as = [&fail](const char* path, int flags, int target) {
    const int fd = open(path, flags, 0666);
    if (fd < 0) fail();
    if (fd != target && (dup2(fd, target) < 0 || close(fd) != 0)) fail();
  };
  open_as("/dev/null", O_RDONLY, 0);
  switch (options.stdout_mode) {
    case StdoutMode::captured:
    case StdoutMode::broken:
    case StdoutMode::socket:
      if (dup2(out_write, 1) < 0) fail();
      break;
    case StdoutMode::closed:
      close(1);
      break;
    case StdoutMode::dev_full:
      open_as("/dev/full", O_WRONLY, 1);
      break;
    case StdoutMode::file:
      open_as(stdout_file, O_WRONLY | O_CREAT | O_TRUNC, 1);
      break;
    case StdoutMode::appended:
      open_as(stdout_file, O_WRONLY | O_CREAT | O_APPEND, 1);
      break;
  }
  if (options.close_stderr) {
    close(2);
  } else if (dup2(options.stderr_to_stdout ? 1 : err_write, 2) < 0) {
    fail();
  }
  if (options.user && !become(options.user->uid(), options.user->gid())) fail();
  if (chdir(working_dir) != 0) fail();
  if (options.creation_mask) umask(*options.creation_mask);
  if (options.file_size_limit) {
    const rlimit limit = {*options.file_size_limit, *options.file_size_limit};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) fail();
  }
  for (int signal = 1; signal < NSIG; ++signal) ::signal(signal, SIG_DFL);
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  execve(argv[0], argv, envp);
  report_and_exit(report_fd);
}

}  // namespace

std::filesystem::path working_dir_of(const RunOptions& options) {
  if (!options.working_dir.empty()) return options.working_dir;
  return options.user ? options.user->home() : std::filesystem::current_path();
}

// fork and exec rather than posix_spawn: a file-size limit, a umask and a user
// can only be set in the child itself.
KalvexChild::KalvexChild(const std::vector<std::string>& args, const RunOptions& options) {
  int out_pair[2] = {-1, -1};
  int err_pipe[2] = {-1, -1};
  int report_pipe[2] = {-1, -1};
  if (options.stdout_mode == StdoutMode::captured || options.stdout_mode == StdoutMode::broken) {
    check(pipe2(out_pair, O_CLOEXEC) == 0, "pipe");
  } else if (options.stdout_mode == StdoutMode::socket) {
    check(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, out_pair) == 0, "socketpair");
  }
  if (!options.close_stderr && !options.stderr_to_stdout) check(pipe2(err_pipe, O_CLOEXEC) == 0, "pipe");
  check(pipe2(report_pipe, O_CLOEXEC) == 0, "pipe");

  std::vector<std::string> argv_text = {options.user ? options.user->binary().string() : KALVEX_BINARY};
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
    close(out_pair[0]);
    out_pair[0] = -1;
  }

  const std::string stdout_file = options.stdout_file.string();
  const std::string working_dir = working_dir_of(options).string();
  pid_ = fork();
  check(pid_ >= 0, "fork");
  if (pid_ == 0) {
    exec_child(options, stdout_file.c_str(), working_dir.c_str(), out_pair[1], err_pipe[1], report_pipe[1],
               argv.data(), envp.data());
  }
  for (int fd : {out_pair[1], err_pipe[1], report_pipe[1]}) {
    if (fd >= 0) close(fd);
  }
  out_fd_ = out_pair[0];
  err_fd_ = err_pipe[0];

  // The report pipe closes on exec; anything in it is the child's errno.
  int child_error = 0;
  ssize_t reported = 0;
  do {
    reported = read(report_pipe[0], &child_error, sizeof child_error);
  } while (reported < 0 && errno == EINTR);
  close(report_pipe[0]);
  if (reported > 0) {
    wait();
    errno = child_error;
    check(false, "starting kalvex");
  }
}

KalvexChild::~KalvexChild() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    wait();
  }
}

RunResult KalvexChild::wait() {
  RunResult result;
  drain(std::exchange(out_fd_, -1), std::exchange(err_fd_, -1), result.out, result.err);
  const pid_t pid = std::exchange(pid_, -1);
  int wait_status = 0;
  while (waitpid(pid, &wait_status, 0) < 0) check(errno == EINTR, "waitpid");
  if (WIFEXITED(wait_status)) result.status = WEXITSTATUS(wait_status);
  if (WIFSIGNALED(wait_status)) result.term_signal = WTERMSIG(wait_status);
  return result;
}

RunResult run_kalvex(const std::vector<std::string>& args, const RunOptions& options) {
  return KalvexChild(args, options).wait();
}

RunResult run_kalvex_watching(const std::vector<std::string>& args, const RunOptions& options,
                              const std::function<void(const KalvexChild&, const std::string&)>& on_new_file) {
  const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  check(watch >= 0, "inotify_init1");
  check(inotify_add_watch(watch, working_dir_of(options).c_str(), IN_CREATE) >= 0, "inotify_add_watch");
  KalvexChild child(args, options);
  // Until the child has ended (looked at without reaping it, so that wait()
  // still reads its streams and status), or a minute at the most.
  const auto running = [&child] {
    siginfo_t info{};
    return waitid(P_PID, static_cast<id_t>(child.pid()), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           info.si_pid == 0;
  };
  alignas(inotify_event) char events[65536];
  for (int polls = 0; polls < 60'000 && running(); ++polls) {
    pollfd ready = {watch, POLLIN, 0};
    if (poll(&ready, 1, 1) <= 0) continue;
    const ssize_t length = read(watch, events, sizeof events);
    for (ssize_t at = 0; at < length;) {
      const auto* event = reinterpret_cast<const inotify_event*>(events + at);
      if ((event->mask & IN_CREATE) && event->len > 0) on_new_file(child, event->name);
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
  }
  close(watch);
  return child.wait();
}

std::set<std::string> names_in(const std::filesystem::path& dir) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) names.insert(entry.path().filename().string());
  return names;
}

std::string large_batch(int items) {
  std::string batch = "[";
  for (int i = 0; i < items; ++i) batch += std::string(i ? "," : "") + R"({"expression": "1+1"})";
  return batch + "]";
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
