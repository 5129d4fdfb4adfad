#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "kalvex_process.hpp"
#include "other_user.hpp"

namespace kalvex::e2e {

namespace fs = std::filesystem;

// The runner itself: a run that writes to standard output and exits normally.
TEST(Runner, CapturesStdoutAndStatus) {
  RunResult result = run_kalvex({"version"});
  EXPECT_EQ(result.term_signal, 0);
  EXPECT_EQ(result.status, 0);
  EXPECT_FALSE(result.out.empty());
}

// A build inside a directory that only root may enter, as a clone in root's
// home is: another user still starts it, in a directory of its own. A script
// in the build's place tells which program ran, as whom and where; kalvex
// itself then runs there and writes a file of that user's.
TEST(Runner, AnotherUserRunsABuildItCannotReach) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root, to run as another user";
  TempDir closed;  // 0700 and root's
  struct stat closed_status {};
  ASSERT_EQ(::stat(closed.path().c_str(), &closed_status), 0);
  ASSERT_EQ(closed_status.st_mode & 07777, 0700u) << "the build's directory is open to others";
  fs::create_directory(closed.path() / "build");
  const fs::path script = closed.write("build/script", "#!/bin/sh\necho \"$(id -u):$(id -g) in $PWD: $*\"\n");
  fs::permissions(script, fs::perms::owner_all);
  fs::copy_file(KALVEX_BINARY, closed.path() / "build" / "kalvex");

  const OtherUser stand_in(nobody, nogroup, script);
  if (stand_in.unusable()) GTEST_SKIP() << *stand_in.unusable();
  RunOptions options;
  options.user = &stand_in;
  const RunResult started = run_kalvex({"version"}, options);
  EXPECT_EQ(started.status, 0);
  EXPECT_EQ(started.out, "65534:65534 in " + stand_in.home().string() + ": version\n");

  const OtherUser user(nobody, nogroup, closed.path() / "build" / "kalvex");
  options.user = &user;
  const RunResult version = run_kalvex({"version"}, options);
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, run_kalvex({"version"}).out);
  const RunResult written = run_kalvex({"compute", "--expression", "1", "--output", "out.json"}, options);
  EXPECT_EQ(written.status, 0);
  EXPECT_EQ(written.err, "[kalvex] wrote out.json\n");
  struct stat out_status {};
  ASSERT_EQ(::stat((user.home() / "out.json").c_str(), &out_status), 0);
  EXPECT_EQ(out_status.st_uid, nobody);
}

}  // namespace kalvex::e2e
