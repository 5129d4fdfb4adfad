#include <gtest/gtest.h>

#include "kalvex/engine.hpp"

TEST(EnginePlaceholder, Links) { (void)kalvex::validate_hawking("lucas"); }
