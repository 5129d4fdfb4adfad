#include "support_request.hpp"

#include <signal.h>
#include <spawn.h>
#include <unistd.h>

#include "notices.hpp"
#include "std_streams.hpp"
#include "unicode_space.hpp"

// The process environment, handed on to the opener unchanged. Declared here
// rather than taken from <unistd.h>, which declares it only with _GNU_SOURCE.
extern char** environ;

namespace kalvex {
namespace {

// The build target's operating system and processor architecture, as the
// compiler names the target: fixed when the program is built, never detected
// at run time.
constexpr std::string_view target_os =
#if defined(__linux__)
    "linux";
#else
    "unknown";
#endif

constexpr std::string_view target_arch =
#if defined(__x86_64__)
    "x86_64";
#elif defined(__aarch64__)
    "aarch64";
#elif defined(__i386__)
    "i386";
#elif defined(__arm__)
    "arm";
#elif defined(__riscv) && __riscv_xlen == 64
    "riscv64";
#elif defined(__powerpc64__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    "ppc64le";
#elif defined(__powerpc64__)
    "ppc64";
#elif defined(__s390x__)
    "s390x";
#else
    "unknown";
#endif

bool is_unreserved(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
         byte == '-' || byte == '.' || byte == '_' || byte == '~';
}

std::string diagnostics_block() {
  std::string block = "\n\n--- diagnostics (please keep) ---\n";
  block += "product:  Kalvex Engine\n";
  block += "version:  ";
  block += VERSION;
  block += "\nplatform: ";
  block += target_os;
  block += '/';
  block += target_arch;
  block += "\n";
  return block;
}

}  // namespace

std::string support_message(ArgList args) {
  std::string joined;
  bool first = true;
  for (const std::string& arg : args) {
    if (!arg.empty() && arg.front() == '-') continue;
    if (!first) joined += ' ';
    joined += arg;
    first = false;
  }
  if (trim_unicode_space(joined).empty()) return std::string(support_placeholder_message);
  return joined;
}

std::string mailto_encode(std::string_view text) {
  static constexpr char hex_digits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size() * 3);
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (is_unreserved(byte)) {
      out += c;
    } else {
      out += '%';
      out += hex_digits[byte >> 4];
      out += hex_digits[byte & 0x0F];
    }
  }
  return out;
}

SupportReport build_support_report(ArgList args) {
  SupportReport report;
  report.message = support_message(args);
  report.subject = "Kalvex Engine support - v";
  report.subject += VERSION;
  report.body = report.message + diagnostics_block();
  report.url = "mailto:";
  report.url += SUPPORT_MAILBOX;
  report.url += "?subject=" + mailto_encode(report.subject) + "&body=" + mailto_encode(report.body);
  return report;
}

std::string format_support_request(const SupportReport& report) {
  std::string out = "Kalvex Engine - support request\n";
  out += "To:      ";
  out += SUPPORT_MAILBOX;
  out += "\nSubject: " + report.subject + "\n\n";
  out += report.body;
  out += "\nOpening your mail client... if nothing opens, copy the text above\ninto an email to ";
  out += SUPPORT_MAILBOX;
  out += ".\n";
  return out;
}

void launch_mail_client(const std::string& url) {
  std::string program = "xdg-open";
  std::string argument = url;
  char* const argv[] = {program.data(), argument.data(), nullptr};

  // This process ignores the broken-pipe and file-size signals for its own
  // writes; the opener starts with both at their defaults, as from a shell.
  // Without that guarantee it is not started at all.
  posix_spawnattr_t attributes;
  if (posix_spawnattr_init(&attributes) != 0) {
    write_stderr(mail_client_failure_message);
    return;
  }
  sigset_t default_signals;
  sigemptyset(&default_signals);
  sigaddset(&default_signals, SIGPIPE);
  sigaddset(&default_signals, SIGXFSZ);
  const bool ready = posix_spawnattr_setsigdefault(&attributes, &default_signals) == 0 &&
                     posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF) == 0;

  // The opener is left to run on its own: it is never waited for, and whether
  // a mail client opens is not observed.
  pid_t child = 0;
  const bool started = ready && posix_spawnp(&child, program.c_str(), nullptr, &attributes, argv, environ) == 0;
  posix_spawnattr_destroy(&attributes);
  if (!started) write_stderr(mail_client_failure_message);
}

}  // namespace kalvex
