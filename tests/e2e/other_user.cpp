#include "other_user.hpp"

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace kalvex::e2e {
namespace {

namespace fs = std::filesystem;

void check(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

// What stops the user, tried by the user itself in a child of its own: the
// first step refused and its errno.
enum class Step { none, becoming, starting, entering };
struct Refusal {
  Step step = Step::none;
  int error = 0;
};

Refusal try_as(uid_t uid, gid_t gid, const fs::path& binary, const fs::path& home) {
  int report[2] = {-1, -1};
  check(pipe2(report, O_CLOEXEC) == 0, "pipe");
  const pid_t pid = fork();
  check(pid >= 0, "fork");
  if (pid == 0) {
    Refusal refusal;
    if (!become(uid, gid)) {
      refusal = {Step::becoming, errno};
    } else if (access(binary.c_str(), X_OK) != 0) {
      refusal = {Step::starting, errno};
    } else if (chdir(home.c_str()) != 0) {
      refusal = {Step::entering, errno};
    }
    const bool sent = write(report[1], &refusal, sizeof refusal) == static_cast<ssize_t>(sizeof refusal);
    _exit(sent ? 0 : 1);
  }
  close(report[1]);
  Refusal refusal;
  ssize_t got = 0;
  do {
    got = read(report[0], &refusal, sizeof refusal);
  } while (got < 0 && errno == EINTR);
  close(report[0]);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) check(errno == EINTR, "waitpid");
  if (got != static_cast<ssize_t>(sizeof refusal)) throw std::runtime_error("trying a user: no report from the child");
  return refusal;
}

}  // namespace

std::optional<OtherUser> nobody_when_root() {
  if (::geteuid() != 0) return std::nullopt;
  return std::optional<OtherUser>(std::in_place, nobody, nogroup);
}

bool become(uid_t uid, gid_t gid) { return setgroups(0, nullptr) == 0 && setgid(gid) == 0 && setuid(uid) == 0; }

OtherUser::OtherUser(uid_t uid, gid_t gid, const fs::path& binary)
    : uid_(uid), gid_(gid), binary_(place_.path() / "kalvex"), home_(place_.path() / "home") {
  // Only the directory's own modes are opened up; those above it are the
  // system's temporary directory's, whatever they are.
  fs::permissions(place_.path(), fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
  fs::copy_file(binary, binary_);
  fs::permissions(binary_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                               fs::perms::others_read | fs::perms::others_exec);
  fs::create_directory(home_);
  check(chown(home_.c_str(), uid, gid) == 0, "chown");
  fs::permissions(home_, fs::perms::owner_all);

  const Refusal refusal = try_as(uid, gid, binary_, home_);
  const std::string user = "user " + std::to_string(uid);
  const std::string why = std::string(" (") + std::strerror(refusal.error) + ")";
  const std::string temporary = ": the temporary directory " + fs::temp_directory_path().string();
  const std::string closed = temporary + " is closed to it";
  // A copy may also not run from a temporary directory mounted noexec, which
  // its errno does not tell apart from one closed to the user.
  struct statvfs mount {};
  const bool noexec = statvfs(place_.path().c_str(), &mount) == 0 && (mount.f_flag & ST_NOEXEC) != 0;
  switch (refusal.step) {
    case Step::none:
      break;
    case Step::becoming:
      unusable_ = "the suite cannot run as " + user + why;
      break;
    case Step::starting:
      unusable_ = user + " cannot start " + binary_.string() + why + (noexec ? temporary + " is mounted noexec" : closed);
      break;
    case Step::entering:
      unusable_ = user + " cannot enter " + home_.string() + why + closed;
      break;
  }
}

}  // namespace kalvex::e2e
