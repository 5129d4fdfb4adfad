#include <gtest/gtest.h>

#include "kalvex_process.hpp"

namespace kalvex::e2e {

// The runner itself: a run that writes to standard output and exits normally.
TEST(Runner, CapturesStdoutAndStatus) {
  RunResult result = run_kalvex({"version"});
  EXPECT_EQ(result.term_signal, 0);
  EXPECT_EQ(result.status, 0);
  EXPECT_FALSE(result.out.empty());
}

}  // namespace kalvex::e2e
