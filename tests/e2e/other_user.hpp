// Another user for kalvex to run as. The built kalvex may lie where only its
// builder can enter (a clone in root's 0700 home, or under a `mktemp -d`
// directory), so that user starts a copy of it, kept with a working directory
// of the user's own in a fresh directory under the system's temporary
// directory, which is open to all for search.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>

#include "kalvex_process.hpp"

namespace kalvex::e2e {

// Debian's unprivileged user and group.
constexpr uid_t nobody = 65534;
constexpr gid_t nogroup = 65534;

class OtherUser {
 public:
  // Needs root. `binary` is the kalvex to copy.
  OtherUser(uid_t uid, gid_t gid, const std::filesystem::path& binary = KALVEX_BINARY);

  uid_t uid() const { return uid_; }
  gid_t gid() const { return gid_; }
  // The copy, which the user starts.
  const std::filesystem::path& binary() const { return binary_; }
  // A directory the user owns, where a run starts unless it is given another.
  const std::filesystem::path& home() const { return home_; }
  // Why the user cannot start the copy or enter its home (a temporary
  // directory closed to others, or one where nothing may be run), or nothing
  // when it can. A case that needs the user skips with this.
  const std::optional<std::string>& unusable() const { return unusable_; }

 private:
  uid_t uid_;
  gid_t gid_;
  TempDir place_;
  std::filesystem::path binary_;
  std::filesystem::path home_;
  std::optional<std::string> unusable_;
};

// Root may read and write anything, so a permission case that the suite runs
// as root runs kalvex as nobody; run by anyone else, the case runs as that
// user and this gives nothing.
std::optional<OtherUser> nobody_when_root();

// Takes on the user's identity, with no supplementary groups. Safe between
// fork and exec: no allocation, only async-signal-safe calls.
bool become(uid_t uid, gid_t gid);

}  // namespace kalvex::e2e
