#include <gtest/gtest.h>

#include "cli_options.hpp"

TEST(FrontPlaceholder, Links) { EXPECT_FALSE(kalvex::option_value({}, "--zone")); }
