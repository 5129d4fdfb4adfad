#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixed_texts.hpp"
#include "kalvex_process.hpp"

namespace kalvex::e2e {
namespace {

const std::string write_failure = "kalvex: could not write to standard output\n";

// A short line and a long text: the failure must show whether it comes from a
// write during the text or from the flush at the end, and be reported once.
const std::vector<std::string> writers[] = {{"version"}, {"docs"}};

TEST(StreamFailure, UnwritableStandardOutputFailsWithOneMessage) {
  for (StdoutMode mode : {StdoutMode::dev_full, StdoutMode::broken}) {
    for (const auto& args : writers) {
      SCOPED_TRACE(args[0] + (mode == StdoutMode::dev_full ? " >/dev/full" : " | closed pipe"));
      RunOptions options;
      options.stdout_mode = mode;
      RunResult result = run_kalvex(args, options);
      EXPECT_EQ(result.term_signal, 0);  // no death by SIGPIPE
      EXPECT_EQ(result.status, 1);
      EXPECT_EQ(result.out, "");
      EXPECT_EQ(result.err, write_failure);
    }
  }
}

TEST(StreamFailure, RunsThatWriteNothingToStandardOutputAreUnaffected) {
  RunOptions options;
  options.stdout_mode = StdoutMode::dev_full;
  RunResult help = run_kalvex({"help"}, options);
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.err, USAGE_TEXT);
  RunResult unknown = run_kalvex({"foo"}, options);
  EXPECT_EQ(unknown.status, 1);
  EXPECT_EQ(unknown.err, "kalvex: unknown command 'foo'\n" + USAGE_TEXT);
}

// A closed descriptor is reopened on the null device at start-up, so the
// output goes nowhere and the run succeeds.
TEST(StreamFailure, ClosedStreamsAreReopenedOnTheNullDevice) {
  for (const auto& args : writers) {
    SCOPED_TRACE(args[0]);
    RunOptions stdout_closed;
    stdout_closed.stdout_mode = StdoutMode::closed;
    RunResult result = run_kalvex(args, stdout_closed);
    EXPECT_EQ(result.term_signal, 0);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");

    RunOptions both_closed = stdout_closed;
    both_closed.close_stderr = true;
    result = run_kalvex(args, both_closed);
    EXPECT_EQ(result.term_signal, 0);
    EXPECT_EQ(result.status, 0);
  }
  // Nowhere to say it, but the failing write still decides the status.
  RunOptions full_and_no_stderr;
  full_and_no_stderr.stdout_mode = StdoutMode::dev_full;
  full_and_no_stderr.close_stderr = true;
  RunResult result = run_kalvex({"docs"}, full_and_no_stderr);
  EXPECT_EQ(result.term_signal, 0);
  EXPECT_EQ(result.status, 1);
  // Usage to a closed standard error, status as usual.
  RunOptions stderr_closed;
  stderr_closed.close_stderr = true;
  result = run_kalvex({}, stderr_closed);
  EXPECT_EQ(result.term_signal, 0);
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
}

}  // namespace
}  // namespace kalvex::e2e
