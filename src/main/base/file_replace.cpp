#include "file_replace.hpp"

#include <fcntl.h>
#include <limits.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <optional>
#include <utility>

namespace kalvex {
namespace {

// The kernel follows no more links than this in one name (MAXSYMLINKS), so a
// longer chain could not be opened either.
constexpr int max_link_hops = 40;
// f_type of the /proc file system (PROC_SUPER_MAGIC).
constexpr long proc_file_system = 0x9fa0;
// Attempts at a free temporary name; each is all but certain to succeed.
constexpr int max_name_draws = 100;

// Writes the pieces in order. False on a failed write, or a short one that
// cannot go on (a full device, the file-size limit).
bool write_all(int fd, std::span<const std::string_view> pieces) {
  for (const std::string_view text : pieces) {
    std::size_t written = 0;
    while (written < text.size()) {
      const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
      if (n > 0) {
        written += static_cast<std::size_t>(n);
      } else if (n == 0 || errno != EINTR) {
        return false;
      }
    }
  }
  return true;
}

bool write_in_place(const std::string& path, std::span<const std::string_view> pieces) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  const bool written = write_all(fd, pieces);
  return ::close(fd) == 0 && written;
}

// Everything up to and including the last "/"; empty for a bare name.
std::string directory_of(const std::string& name) { return name.substr(0, name.rfind('/') + 1); }

// Links in /proc (behind /dev/stdout and /dev/fd/N) stand for open
// descriptors, not names: what they lead to is written through them, never
// replaced, or a caller's descriptor would be left on a removed file.
bool lies_in_proc(const std::string& link) {
  const std::string directory = directory_of(link);
  struct statfs file_system {};
  return ::statfs(directory.empty() ? "." : directory.c_str(), &file_system) != 0 ||
         file_system.f_type == proc_file_system;
}

// The name that `path` ends at once every symbolic link on the way is replaced
// by its target, a relative target read against the link's own directory; the
// file there need not exist. Nothing when the chain is too long, cannot be
// read, or passes through /proc.
std::optional<std::string> resolve_links(std::string name) {
  for (int hops = 0;; ++hops) {
    struct stat st {};
    if (::lstat(name.c_str(), &st) != 0) {
      if (errno == ENOENT) return name;
      return std::nullopt;
    }
    if (!S_ISLNK(st.st_mode)) return name;
    if (hops == max_link_hops || lies_in_proc(name)) return std::nullopt;
    char target[PATH_MAX];
    const ssize_t length = ::readlink(name.c_str(), target, sizeof target);
    if (length <= 0 || static_cast<std::size_t>(length) == sizeof target) return std::nullopt;
    const std::string_view text(target, static_cast<std::size_t>(length));
    name = text.front() == '/' ? std::string(text) : directory_of(name) + std::string(text);
  }
}

// What the new file takes over from the one it replaces.
struct OldFile {
  mode_t mode;
  uid_t owner;
  gid_t group;
};

struct Replacement {
  std::string name;            // where the new file is put, links resolved
  std::optional<OldFile> old;  // nothing when no file stands there yet
};

// Whether `path` names a regular file, or nothing yet, that can be replaced
// whole, and if so which name to replace and what to keep of the old file.
// Nothing means: write in place, as into a device or a pipe.
std::optional<Replacement> plan_replacement(const std::string& path) {
  if (path.empty() || path.back() == '/') return std::nullopt;
  std::optional<std::string> name = resolve_links(path);
  if (!name || name->back() == '/') return std::nullopt;

  struct stat at_path {};
  if (::stat(path.c_str(), &at_path) != 0) {
    struct stat at_name {};
    if (errno != ENOENT || ::lstat(name->c_str(), &at_name) == 0 || errno != ENOENT) return std::nullopt;
    return Replacement{std::move(*name), std::nullopt};
  }
  if (!S_ISREG(at_path.st_mode)) return std::nullopt;

  // Opening the old file for writing, without truncating it, asks what a write
  // in place would ask, so a file that may not be written is not replaced
  // either. It must also still be the file that the path names: anything else
  // put there meanwhile (a link, a FIFO that would hang the open) is left to
  // the write in place.
  const int fd = ::open(name->c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat at_name {};
  const bool same_file = ::fstat(fd, &at_name) == 0 && S_ISREG(at_name.st_mode) &&
                         at_name.st_dev == at_path.st_dev && at_name.st_ino == at_path.st_ino;
  ::close(fd);
  if (!same_file) return std::nullopt;
  return Replacement{std::move(*name), OldFile{at_name.st_mode & 07777, at_name.st_uid, at_name.st_gid}};
}

// Twelve letters or digits (about 71 bits): no two runs draw the same name in
// practice, and one that is taken all the same is drawn again.
std::string random_name_part(int draw) {
  static constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  unsigned char bytes[12];
  if (::getrandom(bytes, sizeof bytes, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bytes)) {
    // No kernel randomness yet: the time, the process and the draw, mixed.
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    std::uint64_t state = static_cast<std::uint64_t>(now.tv_sec) * 1'000'000'000u +
                          static_cast<std::uint64_t>(now.tv_nsec) +
                          (static_cast<std::uint64_t>(::getpid()) << 40) + static_cast<std::uint64_t>(draw);
    for (unsigned char& byte : bytes) {
      std::uint64_t z = (state += 0x9E3779B97F4A7C15u);
      z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
      z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
      byte = static_cast<unsigned char>(z ^ (z >> 31));
    }
  }
  std::string part;
  for (const unsigned char byte : bytes) part += alphabet[byte % (sizeof alphabet - 1)];
  return part;
}

struct TemporaryFile {
  int fd;
  std::string name;
};

// A new file beside `target`, created as an open of `target` itself would
// create it: 0666 less the umask, under the directory's default ACL. Its name
// is hidden and of fixed length, not made from the target's name, which may
// already be as long as a name can be. Nothing when no file can be made there.
std::optional<TemporaryFile> create_beside(const std::string& target) {
  const std::string directory = directory_of(target);
  for (int draw = 0; draw < max_name_draws; ++draw) {
    std::string name = directory + ".kalvex-" + random_name_part(draw) + ".tmp";
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) return TemporaryFile{fd, std::move(name)};
    if (errno != EEXIST && errno != EINTR) return std::nullopt;
  }
  return std::nullopt;
}

// Called once the text is written, since a write by an ordinary user clears
// the set-user-ID and set-group-ID bits; and the owner goes before the mode,
// since changing the owner clears them too. An ordinary user cannot give a file
// away; the group is then kept where the user belongs to it, and otherwise the
// new file is simply the user's own.
bool take_over(int fd, const OldFile& old) {
  if (::fchown(fd, old.owner, old.group) != 0 && ::fchown(fd, static_cast<uid_t>(-1), old.group) != 0) {
    // Neither could be kept; the mode still can.
  }
  return ::fchmod(fd, old.mode) == 0;
}

enum class Outcome { replaced, failed, not_possible };

// Writes the new file aside and renames it over the old name only once every
// byte is written and closed: whoever opens the name sees the old file or the
// new one, never a part. Not synced to disk: a batch can write hundreds of
// megabytes, and the rename alone keeps a failed write from costing the old
// file.
Outcome replace(const Replacement& plan, std::span<const std::string_view> pieces) {
  const std::optional<TemporaryFile> temporary = create_beside(plan.name);
  if (!temporary) return Outcome::not_possible;
  bool written = write_all(temporary->fd, pieces);
  const bool taken_over = written && (!plan.old || take_over(temporary->fd, *plan.old));
  written = ::close(temporary->fd) == 0 && written;
  if (!written) {
    ::unlink(temporary->name.c_str());
    return Outcome::failed;
  }
  // A new file that could not be given the old one's mode is not put in its
  // place; a rename refused for the name alone (a sticky directory, say) is
  // no reason to fail either. The text is then written in place instead.
  if (!taken_over || ::rename(temporary->name.c_str(), plan.name.c_str()) != 0) {
    ::unlink(temporary->name.c_str());
    return Outcome::not_possible;
  }
  return Outcome::replaced;
}

}  // namespace

bool write_whole_file(const std::string& path, std::span<const std::string_view> pieces) {
  if (const std::optional<Replacement> plan = plan_replacement(path)) {
    const Outcome outcome = replace(*plan, pieces);
    if (outcome != Outcome::not_possible) return outcome == Outcome::replaced;
  }
  return write_in_place(path, pieces);
}

}  // namespace kalvex
