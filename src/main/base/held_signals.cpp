#include "held_signals.hpp"

#include <initializer_list>

namespace kalvex {
namespace {

sigset_t ending_signals() {
  sigset_t set;
  sigemptyset(&set);
  for (const int signal : {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF, SIGIO,
                           SIGPWR, SIGXCPU}) {
    sigaddset(&set, signal);
  }
  for (int signal = SIGRTMIN; signal <= SIGRTMAX; ++signal) sigaddset(&set, signal);
  return set;
}

}  // namespace

HeldSignals::HeldSignals() {
  const sigset_t held = ending_signals();
  sigprocmask(SIG_BLOCK, &held, &previous_);
}

HeldSignals::~HeldSignals() { sigprocmask(SIG_SETMASK, &previous_, nullptr); }

}  // namespace kalvex
