// Holding back the signals that would end the process, for the span of work
// that must not be cut in two.
#pragma once

#include <signal.h>

namespace kalvex {

// While one of these lives, the asynchronous signals whose default action
// ends the process (SIGINT, SIGTERM, SIGHUP and their kin) are blocked. One
// that arrives meanwhile stays pending and is delivered when the hold ends, so
// the process still ends by it, with the status its sender expects, only once
// the held work is finished or undone. Faults (SIGSEGV and the like) and
// SIGKILL are never held.
class HeldSignals {
 public:
  HeldSignals();
  ~HeldSignals();
  HeldSignals(const HeldSignals&) = delete;
  HeldSignals& operator=(const HeldSignals&) = delete;

 private:
  sigset_t previous_;
};

}  // namespace kalvex
