#include "file_replace.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <string_view>

#include "scratch_dir.hpp"

namespace kalvex {
namespace {

namespace fs = std::filesystem;

bool write_text(const std::string& path, std::string_view text) {
  return write_whole_file(path, std::span<const std::string_view>(&text, 1));
}

std::string content_of(const std::string& path) {
  std::ifstream stream(path, std::ios::binary);
  std::ostringstream content;
  content << stream.rdbuf();
  return content.str();
}

std::set<std::string> names_in(const std::string& dir) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename().string());
  return names;
}

struct stat status_of(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
  return st;
}

TEST(FileReplace, ReplacesTheWholeFileAndLeavesNothingBeside) {
  testing::ScratchDir dir;
  const std::string path = dir.write("out.json", "an old text, longer than the new one");
  // A reader that has the old file open keeps reading the old text: the new
  // one arrives as a file of its own, never as a rewrite under the reader.
  const int reader = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(reader, 0);

  const std::array<std::string_view, 3> pieces = {"[1,", "", "2]"};
  ASSERT_TRUE(write_whole_file(path, pieces));
  EXPECT_EQ(content_of(path), "[1,2]");
  char old_start[6] = {};
  EXPECT_EQ(::read(reader, old_start, 6), 6);
  EXPECT_EQ(std::string_view(old_start, 6), "an old");
  ::close(reader);

  ASSERT_TRUE(write_whole_file(path, {}));
  EXPECT_EQ(content_of(path), "");
  EXPECT_EQ(names_in(dir.path()), std::set<std::string>{"out.json"});
}

// Every link on the way is kept as it was; the file at its end, read against
// each link's own directory, is the one replaced (a reader of the old file
// keeps the old text), and is created when missing.
TEST(FileReplace, LinksStayAndTheFileTheyNameIsReplaced) {
  testing::ScratchDir dir;
  fs::create_directory(dir.path() + "/data");
  const std::string real = dir.write("data/real.json", "old");
  struct Case {
    std::string link;
    std::string target;  // the link's text
    std::string written;
  };
  const Case cases[] = {
      {"absolute.json", real, real},
      {"relative.json", "data/real.json", real},
      {"data/hop.json", "../relative.json", real},  // a chain: hop, relative, real
      {"dangling.json", "data/created.json", dir.path() + "/data/created.json"},
  };
  for (const Case& c : cases) fs::create_symlink(c.target, dir.path() + "/" + c.link);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.link);
    const std::string old_text = content_of(c.written);
    const int reader = ::open(c.written.c_str(), O_RDONLY | O_CLOEXEC);
    const std::string text = "written through " + c.link;
    ASSERT_TRUE(write_text(dir.path() + "/" + c.link, text));
    EXPECT_EQ(fs::read_symlink(dir.path() + "/" + c.link), c.target);
    EXPECT_EQ(content_of(c.written), text);
    if (reader >= 0) {
      std::string seen(old_text.size() + 1, '\0');
      seen.resize(static_cast<std::size_t>(std::max<ssize_t>(0, ::read(reader, seen.data(), seen.size()))));
      EXPECT_EQ(seen, old_text);
      ::close(reader);
    }
  }
  EXPECT_EQ(names_in(dir.path() + "/data"), (std::set<std::string>{"created.json", "hop.json", "real.json"}));
}

// The owner is handed over before the mode: changing it would clear the
// set-user-ID and set-group-ID bits that the mode brings back.
TEST(FileReplace, KeepsTheModeSetIdBitsIncluded) {
  testing::ScratchDir dir;
  for (const mode_t mode : {04755, 02755, 0640}) {
    SCOPED_TRACE(::testing::Message() << "mode " << std::oct << mode);
    const std::string path = dir.write("tool", "old");
    ASSERT_EQ(::chmod(path.c_str(), mode), 0);
    ASSERT_TRUE(write_text(path, "new"));
    EXPECT_EQ(content_of(path), "new");
    EXPECT_EQ(status_of(path).st_mode & 07777, mode);
    ::unlink(path.c_str());
  }
}

// A FIFO is written as it stands (a reader gets the text) and stays a FIFO.
// Devices are tested end to end, behind a guard that keeps a wrong writer
// away from /dev/null.
TEST(FileReplace, AFifoIsWrittenInPlace) {
  testing::ScratchDir dir;
  const std::string fifo = dir.path() + "/fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(reader, 0);
  ASSERT_TRUE(write_text(fifo, "through the pipe"));
  char received[32] = {};
  EXPECT_EQ(::read(reader, received, sizeof received), 16);
  EXPECT_EQ(std::string_view(received), "through the pipe");
  ::close(reader);
  EXPECT_TRUE(S_ISFIFO(status_of(fifo).st_mode));
}

TEST(FileReplace, FailsWhereNoFileCanBeWritten) {
  testing::ScratchDir dir;
  fs::create_directory(dir.path() + "/sub");
  fs::create_symlink("loop", dir.path() + "/loop");
  fs::create_symlink("sub", dir.path() + "/to_sub");
  const std::string plain = dir.write("plain", "");
  for (const std::string& path : {std::string(), dir.path() + "/missing/out.json", dir.path() + "/sub",
                                  dir.path() + "/loop", dir.path() + "/to_sub", plain + "/below", plain + "/",
                                  dir.path() + "/new/"}) {
    SCOPED_TRACE(path);
    EXPECT_FALSE(write_text(path, "text"));
  }
  EXPECT_EQ(names_in(dir.path()), (std::set<std::string>{"loop", "plain", "sub", "to_sub"}));
  EXPECT_TRUE(fs::is_empty(dir.path() + "/sub"));
}

}  // namespace
}  // namespace kalvex
