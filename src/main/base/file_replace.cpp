#include "file_replace.hpp"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <optional>
#include <utility>
#include <variant>

#include "file_marks.hpp"
#include "held_signals.hpp"
#include "output_target.hpp"
#include "unique_fd.hpp"

namespace kalvex {
namespace {

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

// As the file was written before replacing existed: opened, created or
// truncated, and written from its start.
bool write_in_place(const std::string& path, std::span<const std::string_view> pieces) {
  UniqueFd file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  if (!file.valid()) return false;
  const bool written = write_all(file.get(), pieces);
  return file.close() && written;
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

// The new file, beside the one it is to replace, until it takes that one's
// name: removed on every other way out.
class TemporaryFile {
 public:
  TemporaryFile(int directory, std::string name, int fd) : directory_(directory), name_(std::move(name)), fd_(fd) {}
  ~TemporaryFile() {
    fd_.close();
    if (!name_.empty()) ::unlinkat(directory_, name_.c_str(), 0);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  int fd() const { return fd_.get(); }
  bool close() { return fd_.close(); }
  // Gives the file the name `target` in the same directory; errno tells why not.
  bool rename_to(const std::string& target) {
    if (::renameat(directory_, name_.c_str(), directory_, target.c_str()) != 0) return false;
    name_.clear();
    return true;
  }

 private:
  int directory_;
  std::string name_;
  UniqueFd fd_;
};

// A hidden name of fixed length, not made from the target's name, which may
// already be as long as a name can be; made relative to the directory, so it
// is there however long the directory's own path is. errno tells why not.
std::optional<TemporaryFile> create_beside(int directory, mode_t mode) {
  for (int draw = 0; draw < max_name_draws; ++draw) {
    std::string name = ".kalvex-" + random_name_part(draw) + ".tmp";
    const int fd = ::openat(directory, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0) return std::optional<TemporaryFile>(std::in_place, directory, std::move(name), fd);
    if (errno != EEXIST && errno != EINTR) return std::nullopt;
  }
  errno = EEXIST;
  return std::nullopt;
}

// A directory that refuses new names to this process, where the file itself
// may still be written as it stands.
bool refused_for_permission(int error) { return error == EACCES || error == EPERM || error == EROFS; }

enum class Outcome { replaced, failed, write_in_place };

// Whether the existing file can be replaced by a new one that nobody can tell
// from it, and if so what the new one must carry over. Nothing means: write it
// in place.
std::optional<FileMarks> marks_to_carry_over(const NamedFile& target) {
  // A second name would keep the old text.
  if (target.existing->st_nlink != 1) return std::nullopt;
  // Opening the old file for writing, without truncating it, asks what a write
  // in place would ask, so a file that may not be written is not replaced
  // either. It must also still be the file that was looked at: anything put
  // there meanwhile (a link, a FIFO that would hang the open) is left to the
  // write in place.
  const UniqueFd old(
      ::openat(target.directory.get(), target.name.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  struct stat st {};
  if (!old.valid() || ::fstat(old.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
      st.st_dev != target.existing->st_dev || st.st_ino != target.existing->st_ino || st.st_nlink != 1) {
    return std::nullopt;
  }
  return read_file_marks(old.get(), st);
}

// Writes the new file aside and renames it over the old name only once every
// byte is written and closed: whoever opens the name sees the old file or the
// new one, never a part. Not synced to disk: a batch can write hundreds of
// megabytes, and the rename alone keeps a failed write from costing the old
// file.
Outcome replace(const NamedFile& target, std::span<const std::string_view> pieces) {
  std::optional<FileMarks> marks;
  if (target.existing) {
    marks = marks_to_carry_over(target);
    if (!marks) return Outcome::write_in_place;
  }
  // From before the temporary exists until it is renamed or removed, so that
  // a signal cannot leave it behind.
  const HeldSignals held;
  // Replacing, the new text is never open to more than its owner until it has
  // the old file's marks; a new file is created as an open of its name would
  // create it (0666 under the umask or the directory's default ACL), since it
  // ends up that open anyway.
  std::optional<TemporaryFile> temporary =
      create_beside(target.directory.get(), marks ? (marks->mode & 0600) : 0666);
  if (!temporary) return refused_for_permission(errno) ? Outcome::write_in_place : Outcome::failed;
  if (marks && !give_marks_before_writing(temporary->fd(), *marks)) return Outcome::write_in_place;
  if (!write_all(temporary->fd(), pieces)) return Outcome::failed;
  if (marks && !give_marks_after_writing(temporary->fd(), *marks)) return Outcome::write_in_place;
  if (!temporary->close()) return Outcome::failed;
  if (!temporary->rename_to(target.name)) {
    return refused_for_permission(errno) ? Outcome::write_in_place : Outcome::failed;
  }
  return Outcome::replaced;
}

}  // namespace

bool write_whole_file(const std::string& path, std::span<const std::string_view> pieces) {
  OutputTarget target = find_output_target(path);
  if (const auto* own = std::get_if<OwnDescriptor>(&target)) return write_all(own->fd, pieces);
  if (std::holds_alternative<ClosedDescriptor>(target)) return false;
  if (const auto* file = std::get_if<NamedFile>(&target)) {
    const Outcome outcome = replace(*file, pieces);
    if (outcome != Outcome::write_in_place) return outcome == Outcome::replaced;
  }
  return write_in_place(path, pieces);
}

}  // namespace kalvex
