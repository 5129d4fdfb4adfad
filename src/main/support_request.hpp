// The support request: the user's message with a block of diagnostics,
// printed for copying and handed to the desktop's mail client as a mailto URL.
#pragma once

#include <string>
#include <string_view>

#include "cli_options.hpp"

namespace kalvex {

inline constexpr std::string_view support_placeholder_message = "(describe what you need help with here)";
inline constexpr std::string_view mail_client_failure_message =
    "[kalvex] could not launch a mail client automatically; use the address above.\n";

struct SupportReport {
  std::string message;
  std::string subject;
  std::string body;  // the message, then the diagnostics block; ends with a newline
  std::string url;   // mailto: the mailbox, the encoded subject and body
};

// The arguments that do not begin with "-", joined by single blanks (an empty
// argument still gets its blanks). When the joined text is empty or only white
// space, the placeholder; otherwise the joined text itself, untrimmed.
std::string support_message(ArgList args);

// Percent-encoding of the UTF-8 bytes: letters, digits and "-._~" stay, every
// other byte becomes "%" and two upper-case hexadecimal digits.
std::string mailto_encode(std::string_view text);

SupportReport build_support_report(ArgList args);

// Everything the command prints on standard output, in order: title, "To:",
// "Subject:", an empty line, the body, an empty line, and the closing lines.
std::string format_support_request(const SupportReport& report);

// Starts "xdg-open", found through the search path, with the URL as its only
// argument, the environment and the standard streams inherited, the
// broken-pipe and file-size signals at their default dispositions, and does
// not wait for it. When it cannot be started so, mail_client_failure_message
// goes to standard error; nothing else is reported.
void launch_mail_client(const std::string& url);

}  // namespace kalvex
