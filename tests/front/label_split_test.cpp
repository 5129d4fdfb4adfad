#include "label_split.hpp"

#include <gtest/gtest.h>

namespace kalvex {
namespace {

TEST(LabelSplit, SplitsAtTheFirstEqualsSignUnlessADoubleOneStandsAnywhere) {
  struct Case {
    const char* expression;
    const char* label;
    const char* rhs;
  };
  const Case cases[] = {
      {"E = D*C^2", "E", "D*C^2"},
      {"x = y", "x", "y"},
      {"  2*pi  ", "", "2*pi"},
      {"a == b", "", "a == b"},
      {"x = a == b", "", "x = a == b"},
      {"x <= 1", "x <", "1"},
      {"y = 2 = 3", "y", "2 = 3"},
      {"=5", "", "5"},
      {"a=", "a", ""},
      {"", "", ""},
      {"=", "", ""},
      {"\xC2\xA0label\xC2\xA0=\xE3\x80\x80rhs\xC2\xA0x\xE3\x80\x80", "label", "rhs\xC2\xA0x"},
      {"\t\n1+1\r ", "", "1+1"},
  };
  for (const Case& c : cases) {
    const LabelSplit split = split_label(c.expression);
    EXPECT_EQ(split.label, c.label) << c.expression;
    EXPECT_EQ(split.rhs, c.rhs) << c.expression;
  }
}

}  // namespace
}  // namespace kalvex
