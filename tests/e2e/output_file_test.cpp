// The file that --output names, as a caller sees it afterwards: the document
// stands in it whole, under the mode the file had (or the one a new file gets),
// behind the same links; what is no regular file is written as it stands.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "kalvex_process.hpp"

namespace kalvex::e2e {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> compute_one = {"compute", "--expression", "1"};

std::vector<std::string> with_output(const std::string& path) {
  std::vector<std::string> args = compute_one;
  args.insert(args.end(), {"--output", path});
  return args;
}

// The document as a file holds it: the text printed on standard output less
// its final newline.
std::string document_text() {
  const std::string printed = run_kalvex(compute_one).out;
  return printed.substr(0, printed.size() - 1);
}

struct stat status_of(const fs::path& path) {
  struct stat st {};
  EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
  return st;
}

TEST(OutputFile, AnExistingFileKeepsItsMode) {
  const std::string document = document_text();
  for (const mode_t mode : {0640, 0604, 0600}) {
    SCOPED_TRACE(::testing::Message() << "mode " << std::oct << mode);
    TempDir dir;
    ::chmod(dir.write("kept.json", "a longer text than the document will be, by far: " + document).c_str(), mode);
    RunOptions options{dir.path()};
    options.creation_mask = 022;  // a new file would get 0644
    const RunResult result = run_kalvex(with_output("kept.json"), options);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "[kalvex] wrote kept.json\n");
    EXPECT_EQ(read_file(dir.path() / "kept.json"), document);
    EXPECT_EQ(status_of(dir.path() / "kept.json").st_mode & 07777, mode);
  }
}

TEST(OutputFile, ANewFileIsReadAndWriteForAllLessTheCreationMask) {
  const std::string document = document_text();
  for (const auto& [mask, mode] : {std::pair<mode_t, mode_t>{0, 0666}, {022, 0644}, {027, 0640}}) {
    SCOPED_TRACE(::testing::Message() << "umask " << std::oct << mask);
    TempDir dir;
    RunOptions options{dir.path()};
    options.creation_mask = mask;
    const RunResult result = run_kalvex(with_output("new.json"), options);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(read_file(dir.path() / "new.json"), document);
    EXPECT_EQ(status_of(dir.path() / "new.json").st_mode & 07777, mode);
  }
}

// The link stays as it was and the file it names gets the document.
TEST(OutputFile, ASymbolicLinkStaysALink) {
  TempDir dir;
  fs::create_directory(dir.path() / "kept");
  dir.write("kept/real.json", "old");
  fs::create_symlink("kept/real.json", dir.path() / "link.json");
  const RunResult result = run_kalvex(with_output("link.json"), RunOptions{dir.path()});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "[kalvex] wrote link.json\n");
  EXPECT_TRUE(fs::is_symlink(dir.path() / "link.json"));
  EXPECT_EQ(fs::read_symlink(dir.path() / "link.json"), "kept/real.json");
  EXPECT_EQ(read_file(dir.path() / "kept/real.json"), document_text());
}

// Devices and descriptors are written as they stand: /dev/null stays the
// device, and /dev/stdout reaches whatever standard output is, a pipe or the
// very file the caller opened (not a new file put in its place).
TEST(OutputFile, WhatIsNoFileNameIsWrittenInPlace) {
  const std::string document = document_text();
  TempDir dir;

  // Run as root, a writer that wrongly replaced devices would leave a regular
  // file in place of the whole machine's /dev/null; a device node of its own
  // is tried first.
  const fs::path own_null = dir.path() / "null";
  if (::mknod(own_null.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
    run_kalvex(with_output(own_null.string()));
    ASSERT_TRUE(S_ISCHR(status_of(own_null).st_mode)) << "a device was replaced by a file";
  }
  const RunResult to_null = run_kalvex(with_output("/dev/null"));
  EXPECT_EQ(to_null.status, 0);
  EXPECT_EQ(to_null.out, "");
  EXPECT_EQ(to_null.err, "[kalvex] wrote /dev/null\n");
  EXPECT_TRUE(S_ISCHR(status_of("/dev/null").st_mode));

  const RunResult to_pipe = run_kalvex(with_output("/dev/stdout"));
  EXPECT_EQ(to_pipe.status, 0);
  EXPECT_EQ(to_pipe.out, document);
  EXPECT_EQ(to_pipe.err, "[kalvex] wrote /dev/stdout\n");

  const fs::path redirected = dir.write("stdout.txt", "");
  const ino_t inode = status_of(redirected).st_ino;
  RunOptions to_file{dir.path()};
  to_file.stdout_mode = StdoutMode::file;
  to_file.stdout_file = redirected;
  const RunResult through_file = run_kalvex(with_output("/dev/stdout"), to_file);
  EXPECT_EQ(through_file.status, 0);
  EXPECT_EQ(through_file.err, "[kalvex] wrote /dev/stdout\n");
  EXPECT_EQ(read_file(redirected), document);
  EXPECT_EQ(status_of(redirected).st_ino, inode);
}

}  // namespace
}  // namespace kalvex::e2e
