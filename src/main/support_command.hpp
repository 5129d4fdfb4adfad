// The support command: a printed support request handed to the mail client.
#pragma once

#include "cli_options.hpp"

namespace kalvex {

// Prints the support request built from the arguments after the command word
// and hands its mailto URL to the desktop opener. Always returns (status 0).
void run_support(ArgList args);

}  // namespace kalvex
