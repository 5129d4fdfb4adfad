#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixed_texts.hpp"
#include "kalvex_process.hpp"

namespace kalvex::e2e {
namespace {

struct DispatchCase {
  std::vector<std::string> args;
  std::string out;
  std::string err;
  int status;
};

std::string unknown(const std::string& word) { return "kalvex: unknown command '" + word + "'\n" + USAGE_TEXT; }

void expect_run(const DispatchCase& c) {
  SCOPED_TRACE(::testing::PrintToString(c.args));
  RunResult result = run_kalvex(c.args);
  EXPECT_EQ(result.term_signal, 0);
  EXPECT_EQ(result.status, c.status);
  EXPECT_EQ(result.out, c.out);
  EXPECT_EQ(result.err, c.err);
}

TEST(Dispatch, ChoosesTheTextForEachCommandWord) {
  const std::string usage = USAGE_TEXT;
  const std::string compute_help(COMPUTE_HELP_TEXT);
  const std::string validate_help(VALIDATE_HELP_TEXT);
  const DispatchCase cases[] = {
      {{}, "", usage, 1},
      // Version and reference on standard output; whatever follows is ignored,
      // help flags included.
      {{"version"}, VERSION_LINE, "", 0},
      {{"-V"}, VERSION_LINE, "", 0},
      {{"--version"}, VERSION_LINE, "", 0},
      {{"version", "extra", "words"}, VERSION_LINE, "", 0},
      {{"version", "--help"}, VERSION_LINE, "", 0},
      {{"docs"}, REFERENCE_TEXT, "", 0},
      {{"docs", "-h"}, REFERENCE_TEXT, "", 0},
      {{"docs", "--zone", "x"}, REFERENCE_TEXT, "", 0},
      // Help words: the next argument is the topic, matched exactly.
      {{"help"}, "", usage, 0},
      {{"-h"}, "", usage, 0},
      {{"--help"}, "", usage, 0},
      {{"help", "compute", "extra"}, "", compute_help, 0},
      {{"-h", "validate"}, "", validate_help, 0},
      {{"--help", "compute"}, "", compute_help, 0},
      {{"help", "Compute"}, "", usage, 0},
      {{"help", "docs"}, "", usage, 0},
      {{"help", ""}, "", usage, 0},
      // The help rule: -h or --help anywhere after the command, even as the
      // value of an option, asks for help on the command word.
      {{"compute", "--help"}, "", compute_help, 0},
      {{"compute", "--expression", "-h"}, "", compute_help, 0},
      {{"validate", "--zone", "sinh", "-h"}, "", validate_help, 0},
      {{"foo", "--help"}, "", usage, 0},
      {{"foo", "x", "-h"}, "", usage, 0},
      {{"", "-h"}, "", usage, 0},
      // Command words are exact; "help" and "--HELP" after a command are
      // ordinary words.
      {{"-v"}, "", unknown("-v"), 1},
      {{"Version"}, "", unknown("Version"), 1},
      {{"COMPUTE"}, "", unknown("COMPUTE"), 1},
      {{"version "}, "", unknown("version "), 1},
      {{""}, "", unknown(""), 1},
      {{"foo", "help"}, "", unknown("foo"), 1},
      {{"foo", "--HELP"}, "", unknown("foo"), 1},
      {{"h\xC3\xA9lp"}, "", unknown("h\xC3\xA9lp"), 1},
  };
  for (const DispatchCase& c : cases) expect_run(c);
}

TEST(Dispatch, ArgumentThatIsNotUtf8EndsTheRunBeforeTheCommand) {
  const DispatchCase cases[] = {
      {{"version", "\xFF"}, "", "kalvex: argument 2 is not valid UTF-8\n", 1},
      {{"\xC0\xAF"}, "", "kalvex: argument 1 is not valid UTF-8\n", 1},
      {{"docs", "ok", "\xED\xA0\x80", "\xFF"}, "", "kalvex: argument 3 is not valid UTF-8\n", 1},
      {{"help", "compute\xE2\x82"}, "", "kalvex: argument 2 is not valid UTF-8\n", 1},
  };
  for (const DispatchCase& c : cases) expect_run(c);
}

}  // namespace
}  // namespace kalvex::e2e
