#include "cli_dispatch.hpp"

#include <algorithm>
#include <exception>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "compute_command.hpp"
#include "exit_codes.hpp"
#include "fixed_texts.hpp"
#include "std_streams.hpp"
#include "support_command.hpp"
#include "utf8_check.hpp"
#include "validate_command.hpp"

namespace kalvex {
namespace {

bool is_version_word(std::string_view word) { return word == "version" || word == "-V" || word == "--version"; }
bool is_help_word(std::string_view word) { return word == "help" || word == "-h" || word == "--help"; }
// Only these two count for the help rule; the word "help" after a command is
// an ordinary word.
bool is_help_flag(std::string_view word) { return word == "--help" || word == "-h"; }

// The help for a topic; any topic but the two commands with their own help
// (the empty one included) gets the usage text.
std::string_view help_text_for(std::string_view topic) {
  if (topic == "compute") return COMPUTE_HELP_TEXT;
  if (topic == "validate") return VALIDATE_HELP_TEXT;
  return USAGE_TEXT;
}

// The arguments after the program name as texts. One that is not UTF-8 ends
// the run before any command is looked at; arguments count from 1, the first
// one after the program name.
std::vector<std::string> collect_arguments(int argc, char** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc && argv[i] != nullptr; ++i) {
    std::string_view argument(argv[i]);
    if (!is_valid_utf8(argument)) {
      write_stderr("kalvex: argument " + std::to_string(i) + " is not valid UTF-8\n");
      end_run(ExitCode::failure);
    }
    arguments.emplace_back(argument);
  }
  return arguments;
}

}  // namespace

void run_cli(ArgList arguments) {
  if (arguments.empty()) {
    print_usage();
    end_run(ExitCode::failure);
  }
  const std::string& command = arguments.front();
  const ArgList after_command = arguments.subspan(1);

  // Commands that read nothing, or take every word as theirs, come before the
  // help rule: "kalvex version --help" still writes the version line.
  if (is_version_word(command)) {
    write_stdout(VERSION_LINE);
    return;
  }
  if (command == "support") {
    run_support(after_command);
    return;
  }
  if (command == "docs") {
    write_stdout(REFERENCE_TEXT);
    return;
  }
  if (is_help_word(command)) {
    write_stderr(help_text_for(after_command.empty() ? std::string_view() : after_command.front()));
    return;
  }
  // A help flag anywhere after the command, even as an option's value, asks
  // for help on the command word itself, recognised or not.
  if (std::any_of(after_command.begin(), after_command.end(), is_help_flag)) {
    write_stderr(help_text_for(command));
    return;
  }
  if (command == "compute") {
    run_compute(after_command);
    return;
  }
  if (command == "validate") {
    run_validate(after_command);
    return;
  }
  write_stderr("kalvex: unknown command '" + command + "'\n");
  print_usage();
  end_run(ExitCode::failure);
}

int process_main(int argc, char** argv) {
  set_up_standard_streams();
  ExitCode status = ExitCode::success;
  try {
    const std::vector<std::string> arguments = collect_arguments(argc, argv);
    run_cli(arguments);
  } catch (const RunEnded& ended) {
    status = ended.status;
  } catch (const std::bad_alloc&) {
    write_stderr("kalvex: out of memory\n");
    status = ExitCode::failure;
  } catch (const std::exception& error) {
    // Nothing a command does should get here; if it does, the run still ends
    // with a message and a failure status rather than an abort.
    write_stderr("kalvex: internal error: ");
    write_stderr(error.what());
    write_stderr("\n");
    status = ExitCode::failure;
  } catch (...) {
    write_stderr("kalvex: internal error\n");
    status = ExitCode::failure;
  }
  // A document or text that did not reach standard output must not pass as
  // success, whichever status the command chose.
  if (!finish_stdout()) {
    write_stderr("kalvex: could not write to standard output\n");
    status = ExitCode::failure;
  }
  return static_cast<int>(status);
}

}  // namespace kalvex
