// Faults and hostile input against the real executable: every case ends with
// its message and status, never with a crash, a hang or a silent success.
#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "json_text.hpp"
#include "kalvex_process.hpp"
#include "other_user.hpp"

namespace kalvex::e2e {
namespace {

const std::string missing_field = "kalvex: --input JSON needs an \"expression\" or \"domain\" field\n";
const std::string stdout_failure = "kalvex: could not write to standard output\n";

// Every way a command writes to standard output: a document, a batch array, a
// validation that fails its tolerance (its 3 must not survive a lost document),
// and the support request.
TEST(Faults, LostStandardOutputIsNeverASuccess) {
  TempDir dir;
  dir.write("batch.json", R"([{"expression": "1+1"}, {"domain": "wien", "params": [5778]}])");
  const std::vector<std::vector<std::string>> commands = {
      {"compute", "--expression", "2*pi"},
      {"compute", "--input", "batch.json"},
      {"validate", "--zone", "sinh"},
      {"support", "help"},
  };
  for (StdoutMode mode : {StdoutMode::dev_full, StdoutMode::broken}) {
    for (const auto& args : commands) {
      SCOPED_TRACE(args[0] + " " + args[1] + (mode == StdoutMode::dev_full ? " >/dev/full" : " | closed"));
      RunOptions options{dir.path()};
      options.env = {{"PATH", dir.path().string()}};  // no mail opener to start
      options.stdout_mode = mode;
      const RunResult result = run_kalvex(args, options);
      EXPECT_EQ(result.term_signal, 0);
      EXPECT_EQ(result.status, 1);
      EXPECT_EQ(result.out, "");
      EXPECT_TRUE(result.err.ends_with(stdout_failure)) << result.err;
    }
  }
}

TEST(Faults, UnwritableOutputFile) {
  TempDir dir;
  for (const std::string& path : {std::string("/dev/full"), (dir.path() / "missing" / "out.json").string()}) {
    SCOPED_TRACE(path);
    const RunResult result = run_kalvex({"compute", "--expression", "1", "--output", path}, RunOptions{dir.path()});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "kalvex: could not write " + path + "\n");
  }
}

// A file-size limit turns a write past it into a failed write (EFBIG) rather
// than a death by signal. A file that was to be replaced stays byte for byte as
// it was (the batch itself when it is also the output, the file behind a
// link, a file whose path only just fits, beside which a temporary named by
// the whole path would not), and nothing is left beside it: the document is
// written aside and only put in place whole.
TEST(Faults, WritesPastTheFileSizeLimit) {
  TempDir dir;
  const std::string batch = large_batch(40);  // about 1 KiB, its document about 25 KiB
  std::string deep_dir;
  for (int i = 0; i < 20; ++i) deep_dir += std::string(203, 'd') + "/";
  const std::string deep = deep_dir + "old.json";  // 4088 bytes, a temporary's 4104
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const Case cases[] = {
      {{"compute", "--input", "batch.json"}, stdout_failure},
      {{"compute", "--input", "batch.json", "--output", "new.json"}, "kalvex: could not write new.json\n"},
      {{"compute", "--input", "batch.json", "--output", "old.json"}, "kalvex: could not write old.json\n"},
      {{"compute", "--input", "batch.json", "--output", "batch.json"}, "kalvex: could not write batch.json\n"},
      {{"compute", "--input", "batch.json", "--output", "link.json"}, "kalvex: could not write link.json\n"},
      {{"compute", "--input", "batch.json", "--output", deep}, "kalvex: could not write " + deep + "\n"},
  };
  // The deep file's whole path is too long for the test as well, from the
  // root; it is reached from the temporary directory.
  const auto in_dir = [&dir](const auto& step) {
    const std::filesystem::path test_dir = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    step();
    std::filesystem::current_path(test_dir);
  };
  in_dir([&] { std::filesystem::create_directories(deep_dir); });
  std::filesystem::create_symlink("old.json", dir.path() / "link.json");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.back().substr(0, 40));
    dir.write("batch.json", batch);
    dir.write("old.json", "the previous document");
    in_dir([&] { std::ofstream(deep, std::ios::binary) << "the previous document"; });
    RunOptions options{dir.path()};
    options.file_size_limit = 4096;
    options.stdout_mode = StdoutMode::file;  // a limit has no hold on a pipe
    options.stdout_file = dir.path() / "stdout.txt";
    const RunResult result = run_kalvex(c.args, options);
    EXPECT_EQ(result.term_signal, 0);
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(result.err.ends_with(c.message)) << result.err;
    EXPECT_EQ(read_file(dir.path() / "batch.json"), batch);
    EXPECT_EQ(read_file(dir.path() / "old.json"), "the previous document");
    EXPECT_EQ(names_in(dir.path()), (std::set<std::string>{"batch.json", deep.substr(0, 203), "link.json",
                                                            "old.json", "stdout.txt"}));
    in_dir([&] {
      EXPECT_EQ(read_file(deep), "the previous document");
      EXPECT_EQ(names_in(deep_dir), std::set<std::string>{"old.json"});
    });
  }
}

// Runs `body` in a child process with a mount namespace of its own, in which
// a tmpfs mounted with `options` stands on `dir`; returns what `body` returns
// (its failures, empty when there are none), or nothing when this machine
// refuses the mount.
std::optional<std::string> on_own_tmpfs(const std::filesystem::path& dir, const char* options,
                                        const std::function<std::string()>& body) {
  int report[2];
  if (::pipe(report) != 0) return std::nullopt;
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(report[0]);
    const bool mounted = ::unshare(CLONE_NEWNS) == 0 &&
                         ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                         ::mount("kalvex-test", dir.c_str(), "tmpfs", 0, options) == 0;
    // "+" and the failures, or "-" alone for a refused mount.
    std::string text(1, mounted ? '+' : '-');
    if (mounted) {
      try {
        text += body();
      } catch (const std::exception& error) {
        text += error.what();
      }
    }
    const bool sent = ::write(report[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::_exit(sent ? 0 : 1);
  }
  ::close(report[1]);
  std::string text;
  char buffer[4096];
  for (ssize_t n; (n = ::read(report[0], buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
  ::close(report[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (text.empty() || text[0] != '+') return std::nullopt;
  return text.substr(1);
}

// A file system with no inode left has no room for the temporary file: that
// is a failed write, not a reason to truncate the old file and write it in
// place (which a full disk would then cut short as well).
TEST(Faults, NoRoomForTheTemporaryKeepsTheOldFile) {
  TempDir dir;
  const std::optional<std::string> failures = on_own_tmpfs(dir.path(), "nr_inodes=16,size=1m", [&dir] {
    std::string found;
    const std::filesystem::path old = dir.path() / "old.json";
    std::ofstream(old) << "the previous document";
    for (int i = 0; std::ofstream(dir.path() / ("filler" + std::to_string(i))); ++i) {
    }
    const RunResult result = run_kalvex({"compute", "--expression", "1", "--output", "old.json"}, RunOptions{dir.path()});
    if (result.status != 1) found += "status " + std::to_string(result.status) + "\n";
    if (result.err != "kalvex: could not write old.json\n") found += "stderr " + result.err + "\n";
    if (read_file(old) != "the previous document") found += "old.json holds " + read_file(old).value_or("nothing") + "\n";
    return found;
  });
  if (!failures) GTEST_SKIP() << "this machine refuses to mount a tmpfs in a mount namespace of the test's own";
  EXPECT_EQ(*failures, "");
}

// A signal that ends the run while the document is written leaves no
// temporary file behind: the old file or the whole new one stands at the path,
// and the run still ends by that signal.
TEST(Faults, ASignalDuringTheWriteLeavesNoTemporary) {
  TempDir dir;
  dir.write("batch.json", large_batch(50'000));  // a 30 MB document
  ASSERT_EQ(run_kalvex({"compute", "--input", "batch.json", "--output", "whole.json"}, RunOptions{dir.path()}).status, 0);
  const std::optional<std::string> whole = read_file(dir.path() / "whole.json");
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    SCOPED_TRACE(strsignal(signal));
    dir.write("out.json", "the previous document");
    // A test held up for longer than the write takes signals a run that has
    // already ended: it tries again.
    bool sent = false;
    RunResult result;
    for (int attempt = 0; attempt < 5 && result.term_signal == 0; ++attempt) {
      sent = false;
      result = run_kalvex_watching({"compute", "--input", "batch.json", "--output", "out.json"},
                                   RunOptions{dir.path()}, [&](const KalvexChild& child, const std::string& name) {
                                     if (!sent && name.starts_with(".kalvex-")) sent = ::kill(child.pid(), signal) == 0;
                                   });
      ASSERT_TRUE(sent) << "no temporary file was seen";
    }
    EXPECT_EQ(result.term_signal, signal);
    EXPECT_EQ(names_in(dir.path()), (std::set<std::string>{"batch.json", "out.json", "whole.json"}));
    const std::optional<std::string> out = read_file(dir.path() / "out.json");
    EXPECT_TRUE(out == "the previous document" || out == whole) << out->size() << " bytes";
  }
}

// Input files that cannot be used all end with the one message and status 1.
TEST(Faults, UnusableInputFiles) {
  TempDir dir;
  dir.write("latin1.json", "{\"expression\": \"caf\xe9\"}");
  dir.write("deep.json", std::string(100'000, '[') + std::string(100'000, ']'));
  dir.write("deep_objects.json", [] {
    std::string text;
    for (int i = 0; i < 100'000; ++i) text += "{\"a\":";
    return text + "1" + std::string(100'000, '}');
  }());
  dir.write("cut.json", R"([{"expression": "1+1"}, {"domain": "wi)");
  dir.write("plain.txt", "hello");
  const std::vector<std::string> inputs = {".", "latin1.json", "deep.json", "deep_objects.json", "cut.json",
                                           "plain.txt/below.json", ""};
  for (const auto& input : inputs) {
    SCOPED_TRACE(input);
    const RunResult result = run_kalvex({"compute", "--input", input}, RunOptions{dir.path()});
    EXPECT_EQ(result.term_signal, 0);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, missing_field);
  }
}

// Root may read any file, so a suite run by root reads as nobody.
TEST(Faults, InputFileWithoutReadPermission) {
  const std::optional<OtherUser> reader = nobody_when_root();
  if (reader && reader->unusable()) GTEST_SKIP() << *reader->unusable();
  TempDir dir;
  ::chmod(dir.path().c_str(), 0755);
  const auto path = dir.write("secret.json", R"({"expression": "1"})");
  ::chmod(path.c_str(), 0);
  RunOptions options{dir.path()};
  if (reader) options.user = &*reader;
  const RunResult result = run_kalvex({"compute", "--input", "secret.json"}, options);
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, missing_field);
}

// A quarter megabyte of blanks inside the batch and a precision of 100 kB,
// repeated in every item's document: the document (6.5 MB) must be written
// whole. Each item is a bare number, so each is unsupported and the batch
// ends with status 1.
// A few items followed by a long run of blanks, each item echoing a long
// precision: a batch that sized its output from its first items would ask for
// gigabytes here, and for more than any allocator grants with the longer run.
TEST(Faults, PaddedBatchWithAHugePrecision) {
  const std::string precision(100'000, 'p');
  for (const std::size_t blanks : {std::size_t{243'000}, std::size_t{20'000'000}}) {
    SCOPED_TRACE(blanks);
    TempDir dir;
    std::string padded = "[";
    for (int i = 0; i < 64; ++i) padded += "1,";
    padded.append(blanks, ' ');
    padded += "1]";
    dir.write("pad.json", padded);
    const RunResult result = run_kalvex(
        {"compute", "--input", "pad.json", "--precision", precision, "--output", "r.json"}, RunOptions{dir.path()});
    EXPECT_EQ(result.term_signal, 0);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "[kalvex] wrote r.json\n");
    const auto document = parse_json(read_file(dir.path() / "r.json").value_or(""));
    ASSERT_TRUE(document.has_value());
    ASSERT_TRUE(document->is_array());
    ASSERT_EQ(document->size(), 65u);
    for (const JsonValue& item : *document) {
      EXPECT_EQ(item.at("precision_requested"), precision);
      EXPECT_EQ(item.at("status"), "unsupported: batch item needs an \"expression\" or \"domain\" field");
    }
  }
}

// Nesting far beyond the parser's depth is answered like any other text that
// does not evaluate: a document with the failure figures, status 0.
TEST(Faults, DeeplyNestedExpressions) {
  TempDir dir;
  JsonValue single = {{"expression", std::string(1'000'000, '(') + "1"}};
  dir.write("deep_expression.json", to_pretty_json(single));
  const std::vector<std::vector<std::string>> runs = {
      {"compute", "--input", "deep_expression.json"},
      // One argument may hold at most 128 KiB on Linux.
      {"compute", "--expression", std::string(100'000, '(')},
      {"compute", "--expression", [] {
         std::string text;
         for (int i = 0; i < 25'000; ++i) text += "sin(";
         return text;
       }()},
  };
  for (const auto& args : runs) {
    SCOPED_TRACE(args[1]);
    const RunResult result = run_kalvex(args, RunOptions{dir.path()});
    EXPECT_EQ(result.term_signal, 0);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    const auto document = parse_json(result.out);
    ASSERT_TRUE(document.has_value());
    EXPECT_TRUE(document->at("value").is_null());
    EXPECT_EQ(document->at("trust"), "ERROR");
    EXPECT_EQ(document->at("status"), "unsupported: unknown identifier or function in expression");
  }
}

}  // namespace
}  // namespace kalvex::e2e
