#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "kalvex_process.hpp"

namespace kalvex::e2e {
namespace {

const std::string diagnostics =
    "\n"
    "--- diagnostics (please keep) ---\n"
    "product:  Kalvex Engine\n"
    "version:  1.0.1\n"
    "platform: linux/x86_64\n";

const std::string encoded_diagnostics =
    "%0A%0A---%20diagnostics%20%28please%20keep%29%20---%0Aproduct%3A%20%20Kalvex%20Engine%0A"
    "version%3A%20%201.0.1%0Aplatform%3A%20linux%2Fx86_64%0A";

std::string printed_request(const std::string& message) {
  return "Kalvex Engine - support request\n"
         "To:      support@kalvex.example\n"
         "Subject: Kalvex Engine support - v1.0.1\n"
         "\n" +
         message + "\n" + diagnostics +
         "\n"
         "Opening your mail client... if nothing opens, copy the text above\n"
         "into an email to support@kalvex.example.\n";
}

std::string url_for(const std::string& encoded_message) {
  return "mailto:support@kalvex.example?subject=Kalvex%20Engine%20support%20-%20v1.0.1&body=" +
         encoded_message + encoded_diagnostics;
}

// A stand-in for the desktop opener: it records how many arguments it got and
// the first one into $KALVEX_OPENER_RECORD (which also shows that the
// environment is handed on), renaming the record into place when complete.
// Beside it goes the "SigIgn:" line of its own /proc status: the signals it was
// started with set to be ignored.
class StandInOpener {
 public:
  StandInOpener() {
    const auto script = dir_.write("xdg-open",
                                   "#!/bin/sh\n"
                                   "grep '^SigIgn:' /proc/$$/status > \"$KALVEX_OPENER_RECORD.signals\"\n"
                                   "printf '%s\\n%s' \"$#\" \"$1\" > \"$KALVEX_OPENER_RECORD.part\"\n"
                                   "mv \"$KALVEX_OPENER_RECORD.part\" \"$KALVEX_OPENER_RECORD\"\n");
    chmod(script.c_str(), 0755);
  }
  RunOptions options() const {
    RunOptions options;
    options.env = {{"PATH", dir_.path().string() + ":/usr/bin:/bin"},
                   {"LC_ALL", "C"},
                   {"KALVEX_OPENER_RECORD", record().string()}};
    return options;
  }
  // The record, once the opener (never waited for by kalvex) has written it.
  std::optional<std::string> wait_for_record() const {
    for (int i = 0; i < 100; ++i) {
      if (auto content = read_file(record())) return content;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return std::nullopt;
  }
  // The set of signals the opener started with ignored, one bit per signal
  // (bit 0 for signal 1), as recorded before the record itself.
  std::optional<std::uint64_t> ignored_signals() const {
    const auto line = read_file(record().string() + ".signals");
    if (!line || !line->starts_with("SigIgn:")) return std::nullopt;
    return std::stoull(line->substr(7), nullptr, 16);
  }

 private:
  std::filesystem::path record() const { return dir_.path() / "record.txt"; }
  TempDir dir_;
};

TEST(Support, PrintsTheRequestAndHandsTheUrlToTheOpener) {
  struct Case {
    std::vector<std::string> args;
    std::string message;
    std::string encoded_message;
  };
  const Case cases[] = {
      {{}, "(describe what you need help with here)",
       "%28describe%20what%20you%20need%20help%20with%20here%29"},
      // Only blanks, or only words with a leading dash: the placeholder.
      {{"   "}, "(describe what you need help with here)",
       "%28describe%20what%20you%20need%20help%20with%20here%29"},
      {{"-h"}, "(describe what you need help with here)",
       "%28describe%20what%20you%20need%20help%20with%20here%29"},
      // Blanks around the words are kept; -5 is left out; an empty argument
      // still gets its separating blank.
      {{"  my printer  "}, "  my printer  ", "%20%20my%20printer%20%20"},
      {{"a", "-5", "b"}, "a b", "a%20b"},
      {{"", "x"}, " x", "%20x"},
      {{"--zone", "lucas", "r\xC3\xA9sum\xC3\xA9?"}, "lucas r\xC3\xA9sum\xC3\xA9?", "lucas%20r%C3%A9sum%C3%A9%3F"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    StandInOpener opener;
    std::vector<std::string> args = {"support"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const RunResult result = run_kalvex(args, opener.options());
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, printed_request(c.message));
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(opener.wait_for_record(), "1\n" + url_for(c.encoded_message));
  }
}

// kalvex ignores the broken-pipe and file-size signals for its own writes;
// the opener must start with both at their defaults, as from a shell.
TEST(Support, TheOpenerStartsWithDefaultSignalDispositions) {
  StandInOpener opener;
  const RunResult result = run_kalvex({"support"}, opener.options());
  EXPECT_EQ(result.status, 0);
  ASSERT_TRUE(opener.wait_for_record().has_value());
  const auto ignored = opener.ignored_signals();
  ASSERT_TRUE(ignored.has_value());
  EXPECT_EQ(*ignored & (std::uint64_t{1} << (SIGPIPE - 1)), 0u) << "SIGPIPE ignored";
  EXPECT_EQ(*ignored & (std::uint64_t{1} << (SIGXFSZ - 1)), 0u) << "SIGXFSZ ignored";
}

TEST(Support, WithoutAnOpenerTheRequestStillPrintsAndTheRunSucceeds) {
  TempDir empty_path;
  RunOptions options;
  options.env = {{"PATH", empty_path.path().string()}, {"LC_ALL", "C"}};
  const RunResult result = run_kalvex({"support", "help", "me"}, options);
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, printed_request("help me"));
  EXPECT_EQ(result.err, "[kalvex] could not launch a mail client automatically; use the address above.\n");
}

}  // namespace
}  // namespace kalvex::e2e
