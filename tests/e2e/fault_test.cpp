// Faults and hostile input against the real executable: every case ends with
// its message and status, never with a crash, a hang or a silent success.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "json_text.hpp"
#include "kalvex_process.hpp"

namespace kalvex::e2e {
namespace {

const std::string missing_field = "kalvex: --input JSON needs an \"expression\" or \"domain\" field\n";
const std::string stdout_failure = "kalvex: could not write to standard output\n";

// The names in a directory, to show that a failed write leaves nothing behind.
std::set<std::string> names_in(const std::filesystem::path& dir) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) names.insert(entry.path().filename().string());
  return names;
}

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
// link), and nothing is left beside it: the document is written aside and only
// put in place whole.
TEST(Faults, WritesPastTheFileSizeLimit) {
  TempDir dir;
  std::string batch = "[";
  for (int i = 0; i < 40; ++i) batch += std::string(i ? "," : "") + R"({"expression": "1+1"})";
  batch += "]";  // about 1 KiB, its document about 25 KiB
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
  };
  std::filesystem::create_symlink("old.json", dir.path() / "link.json");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.back());
    dir.write("batch.json", batch);
    dir.write("old.json", "the previous document");
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
    EXPECT_EQ(names_in(dir.path()), (std::set<std::string>{"batch.json", "link.json", "old.json", "stdout.txt"}));
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

TEST(Faults, InputFileWithoutReadPermission) {
  if (::geteuid() == 0) GTEST_SKIP() << "running as root, who may read any file";
  TempDir dir;
  const auto path = dir.write("secret.json", R"({"expression": "1"})");
  ::chmod(path.c_str(), 0);
  const RunResult result = run_kalvex({"compute", "--input", "secret.json"}, RunOptions{dir.path()});
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
