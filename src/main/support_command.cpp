#include "support_command.hpp"

#include <cstdio>

#include "std_streams.hpp"
#include "support_request.hpp"

namespace kalvex {

void run_support(ArgList args) {
  const SupportReport report = build_support_report(args);
  write_stdout(format_support_request(report));
  // The whole request is out before the opener starts, so the user can copy it
  // whatever the opener then does with the shared streams.
  std::fflush(stdout);
  launch_mail_client(report.url);
}

}  // namespace kalvex
