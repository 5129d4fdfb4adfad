// Faults and hostile input against the real executable: every case ends with
// its message and status, never with a crash, a hang or a silent success.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "json_text.hpp"
#include "kalvex_process.hpp"

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
