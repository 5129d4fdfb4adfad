// The file that --output names, as a caller sees it afterwards: the document
// stands in it whole, under the mode the file had (or the one a new file gets),
// behind the same links; what is no regular file is written as it stands.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/xattr.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <optional>
#include <set>
#include <tuple>
#include <string>
#include <vector>

#include "kalvex_process.hpp"
#include "other_user.hpp"

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

// While the document is written, its temporary file is open to its owner
// alone, whatever the umask: nobody else may read a 0600 file's new text, or
// open it for writing and keep the descriptor past the rename.
TEST(OutputFile, TheNewTextIsNeverOpenToMoreThanTheFileItBecomes) {
  for (const mode_t mask : {022, 0}) {
    SCOPED_TRACE(::testing::Message() << "umask " << std::oct << mask);
    TempDir dir;
    dir.write("batch.json", large_batch(20'000));  // a 12 MB document
    ::chmod(dir.write("secret.json", "old").c_str(), 0600);
    RunOptions options{dir.path()};
    options.creation_mask = mask;
    // A test held up for longer than the write takes sees nothing: it tries
    // again.
    std::vector<mode_t> seen;
    for (int attempt = 0; attempt < 5 && seen.empty(); ++attempt) {
      const RunResult result = run_kalvex_watching(
          {"compute", "--input", "batch.json", "--output", "secret.json"}, options,
          [&](const KalvexChild&, const std::string& name) {
            struct stat st {};
            if (::stat((dir.path() / name).c_str(), &st) == 0) seen.push_back(st.st_mode & 07777);
          });
      EXPECT_EQ(result.status, 0);
    }
    ASSERT_FALSE(seen.empty()) << "the temporary file was gone before it could be looked at";
    for (const mode_t mode : seen) EXPECT_EQ(mode & ~mode_t{0600}, 0u) << std::oct << mode;
    EXPECT_EQ(status_of(dir.path() / "secret.json").st_mode & 07777, 0600u);
  }
}

// What anybody can see of a file besides its content.
struct Marks {
  uid_t owner;
  gid_t group;
  mode_t mode;
  std::map<std::string, std::string> attributes;
  bool operator==(const Marks&) const = default;
};

void PrintTo(const Marks& marks, std::ostream* out) {
  *out << "owner " << marks.owner << ", group " << marks.group << ", mode " << std::oct << marks.mode << std::dec;
  for (const auto& [name, value] : marks.attributes) *out << ", " << name << " (" << value.size() << " bytes)";
}

Marks marks_of(const fs::path& path) {
  const struct stat st = status_of(path);
  Marks marks{st.st_uid, st.st_gid, static_cast<mode_t>(st.st_mode & 07777), {}};
  char names[4096];
  const ssize_t length = ::listxattr(path.c_str(), names, sizeof names);
  for (ssize_t at = 0; at < length; at += static_cast<ssize_t>(std::strlen(names + at)) + 1) {
    char value[4096];
    const ssize_t size = ::getxattr(path.c_str(), names + at, value, sizeof value);
    marks.attributes[names + at] = std::string(value, static_cast<std::size_t>(std::max<ssize_t>(size, 0)));
  }
  return marks;
}

// An access ACL in the kernel's own form: version 2, then the entries (tag,
// permissions, id) in the order of their tags.
std::string access_acl(std::initializer_list<std::tuple<std::uint16_t, std::uint16_t, std::uint32_t>> entries) {
  std::string acl;
  const auto put = [&acl](auto value) { acl.append(reinterpret_cast<const char*>(&value), sizeof value); };
  put(std::uint32_t{2});
  for (const auto& [tag, permissions, id] : entries) {
    put(tag);
    put(permissions);
    put(id);
  }
  return acl;
}

constexpr uid_t someone_else = 4242;  // a user and a group that nobody is not in
constexpr gid_t other_group = 4343;

// Nobody gains or loses access by the run, whoever writes: an ACL that denies
// a user, an attribute, a group the writer is not in and another user's file
// are all there afterwards, as the file had them. Where a new file could not
// carry them over, or could not be made at all, the old one is written in
// place.
TEST(OutputFile, TheFileKeepsWhoMayUseIt) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root, to give files away and to run as another user";
  const OtherUser writer(nobody, nogroup);
  if (writer.unusable()) GTEST_SKIP() << *writer.unusable();
  const std::string document = document_text();
  constexpr std::uint32_t none = 0xFFFFFFFF;
  struct Case {
    std::string name;
    uid_t owner;
    gid_t group;
    mode_t mode;
    std::string attribute;  // an extended attribute's name, or none
    std::string value;
    mode_t directory_mode = 0777;
  };
  const Case cases[] = {
      {"denied.json", nobody, nogroup, 0644, "system.posix_acl_access",
       access_acl({{0x01, 6, none}, {0x02, 0, someone_else}, {0x04, 4, none}, {0x10, 4, none}, {0x20, 4, none}})},
      {"attribute.json", nobody, nogroup, 0640, "user.origin", "lab 7"},
      {"group.json", nobody, other_group, 0660, "", ""},
      {"theirs.json", someone_else, someone_else, 0666, "", ""},
      // Nothing can be put beside it by nobody: written in place.
      {"fixed.json", nobody, nogroup, 0644, "", "", 0755},
  };
  for (const bool as_nobody : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name + (as_nobody ? " written by nobody" : " written by root"));
      TempDir dir;
      const fs::path path = dir.write(c.name, "old");
      ::chmod(dir.path().c_str(), c.directory_mode);
      ASSERT_EQ(::chown(path.c_str(), c.owner, c.group), 0);
      ASSERT_EQ(::chmod(path.c_str(), c.mode), 0);
      if (!c.attribute.empty() && ::setxattr(path.c_str(), c.attribute.c_str(), c.value.data(), c.value.size(), 0) != 0) {
        GTEST_SKIP() << "the temporary directory's file system takes no " << c.attribute;
      }
      const Marks before = marks_of(path);
      if (!c.attribute.empty()) {
        ASSERT_EQ(before.attributes.count(c.attribute), 1u);
      }
      RunOptions options{dir.path()};
      if (as_nobody) options.user = &writer;
      const RunResult result = run_kalvex(with_output(c.name), options);
      EXPECT_EQ(result.status, 0);
      EXPECT_EQ(result.err, "[kalvex] wrote " + c.name + "\n");
      EXPECT_EQ(read_file(path), document);
      EXPECT_EQ(marks_of(path), before);
      EXPECT_EQ(names_in(dir.path()), std::set<std::string>{c.name});
    }
  }
}

// A file with a second name is written in place: a new file could take only
// one of the names, and the other would keep the old text.
TEST(OutputFile, AFileWithTwoNamesShowsTheDocumentUnderBoth) {
  TempDir dir;
  fs::create_hard_link(dir.write("first.json", "old"), dir.path() / "second.json");
  const RunResult result = run_kalvex(with_output("first.json"), RunOptions{dir.path()});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(read_file(dir.path() / "first.json"), document_text());
  EXPECT_EQ(read_file(dir.path() / "second.json"), document_text());
  EXPECT_EQ(status_of(dir.path() / "second.json").st_nlink, 2u);
}

// Devices are written as they stand: /dev/null stays the device.
TEST(OutputFile, ADeviceIsWrittenInPlace) {
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
}

// A path that names one of the process's own descriptors is written through
// it, as a shell redirection would: nothing is opened or truncated, an
// appending caller's file keeps what it held, the confirmation follows the
// document where both streams share one file, and a standard output that the
// process could not open by itself (a socket, a file it may not open) takes
// the document all the same.
TEST(OutputFile, AnOpenDescriptorIsWrittenAsItStands) {
  const std::string document = document_text();
  const std::optional<OtherUser> writer = nobody_when_root();
  TempDir dir;
  ::chmod(dir.path().c_str(), 0711);
  fs::create_symlink("/dev/stdout", dir.path() / "mine");
  const fs::path redirected = dir.path() / "stdout.txt";
  struct Case {
    std::string output;
    std::string shell;  // standard output as a shell would give it
    StdoutMode mode = StdoutMode::captured;
    std::string before{};  // what the redirected file holds before the run
    bool both_streams = false;
    bool as_nobody = false;
  };
  const Case cases[] = {
      {"/dev/stdout", "| test"},
      {"/dev/fd/1", "| test"},
      {"/proc/self/fd/1", "| test"},
      {(dir.path() / "mine").string(), "| test"},
      {"/dev/stdout", "to a socket", StdoutMode::socket},
      {"/dev/stdout", "> stdout.txt", StdoutMode::file},
      {"/dev/stdout", ">> stdout.txt", StdoutMode::appended, "a\nb\n"},
      {"/dev/stdout", "> stdout.txt 2>&1", StdoutMode::file, "", true},
      {"/dev/stdout", "> stdout.txt, as nobody, who may not open it", StdoutMode::file, "", false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.output + " " + c.shell);
    if (c.as_nobody && (!writer || writer->unusable())) continue;
    const bool to_file = c.mode == StdoutMode::file || c.mode == StdoutMode::appended;
    RunOptions options{dir.path()};
    options.stdout_mode = c.mode;
    options.stdout_file = redirected;
    options.stderr_to_stdout = c.both_streams;
    if (c.as_nobody) options.user = &*writer;
    dir.write("stdout.txt", c.before);
    ::chmod(redirected.c_str(), 0600);
    const ino_t inode = status_of(redirected).st_ino;
    const RunResult result = run_kalvex(with_output(c.output), options);
    const std::string confirmation = "[kalvex] wrote " + c.output + "\n";
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, c.both_streams ? "" : confirmation);
    const std::string written = c.mode == StdoutMode::appended ? c.before + document : document;
    if (to_file) {
      EXPECT_EQ(read_file(redirected), c.both_streams ? written + confirmation : written);
      EXPECT_EQ(status_of(redirected).st_ino, inode);
    } else {
      EXPECT_EQ(result.out, written);
    }
  }
  const RunResult closed = run_kalvex(with_output("/dev/fd/9"), RunOptions{dir.path()});
  EXPECT_EQ(closed.status, 1);
  EXPECT_EQ(closed.out, "");
  EXPECT_EQ(closed.err, "kalvex: could not write /dev/fd/9\n");
  // Said after every other case has run, so that only a run without faults
  // shows as skipped.
  if (writer && writer->unusable()) GTEST_SKIP() << "the case as nobody: " << *writer->unusable();
}

// Permissions decide as they would for a write in place: a file without
// write permission is not replaced even where its directory would allow it,
// and a writable file in a directory without write permission, where nothing
// can be put beside it, is written in place. Root may write anything, so a
// suite run by root runs kalvex as nobody, on nobody's own files.
TEST(OutputFile, PermissionsDecideAsForAWriteInPlace) {
  const std::optional<OtherUser> writer = nobody_when_root();
  if (writer && writer->unusable()) GTEST_SKIP() << *writer->unusable();
  TempDir dir;
  fs::create_directory(dir.path() / "fixed");
  const fs::path locked = dir.write("locked.json", "kept");
  const fs::path inside = dir.write("fixed/open.json", "old");
  if (writer) {
    for (const fs::path& path : {dir.path(), locked, dir.path() / "fixed", inside}) {
      ASSERT_EQ(::chown(path.c_str(), nobody, nogroup), 0) << path;
    }
  }
  ::chmod(locked.c_str(), 0444);
  ::chmod((dir.path() / "fixed").c_str(), 0555);
  RunOptions options{dir.path()};
  if (writer) options.user = &*writer;

  const RunResult refused = run_kalvex(with_output("locked.json"), options);
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.out, "");
  EXPECT_EQ(refused.err, "kalvex: could not write locked.json\n");
  EXPECT_EQ(read_file(locked), "kept");

  const ino_t inode = status_of(inside).st_ino;
  const RunResult in_place = run_kalvex(with_output("fixed/open.json"), options);
  EXPECT_EQ(in_place.status, 0);
  EXPECT_EQ(in_place.err, "[kalvex] wrote fixed/open.json\n");
  EXPECT_EQ(read_file(inside), document_text());
  EXPECT_EQ(status_of(inside).st_ino, inode);
  EXPECT_EQ(names_in(dir.path()), (std::set<std::string>{"fixed", "locked.json"}));
  EXPECT_EQ(names_in(dir.path() / "fixed"), std::set<std::string>{"open.json"});
  ::chmod((dir.path() / "fixed").c_str(), 0755);
}

}  // namespace
}  // namespace kalvex::e2e
