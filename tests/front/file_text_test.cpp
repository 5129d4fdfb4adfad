#include "file_text.hpp"

#include <gtest/gtest.h>

#include <string>

#include "scratch_dir.hpp"

namespace kalvex {
namespace {

TEST(FileText, ReadsTheWholeFileAsItIs) {
  testing::ScratchDir dir;
  const std::string big(200000, 'x');  // larger than one read
  EXPECT_EQ(read_file_text(dir.write("a.json", "{\"a\": 1}\n")), "{\"a\": 1}\n");
  EXPECT_EQ(read_file_text(dir.write("empty.json", "")), "");
  EXPECT_EQ(read_file_text(dir.write("big.txt", big)), big);
  EXPECT_EQ(read_file_text(dir.write("utf8.txt", "r\xC3\xA9sum\xC3\xA9 \xE3\x80\x80")),
            "r\xC3\xA9sum\xC3\xA9 \xE3\x80\x80");
}

TEST(FileText, FailsOnWhatIsNoReadableUtf8File) {
  testing::ScratchDir dir;
  EXPECT_EQ(read_file_text(dir.path() + "/missing.json"), std::nullopt);
  EXPECT_EQ(read_file_text(dir.path()), std::nullopt);
  EXPECT_EQ(read_file_text(""), std::nullopt);
  EXPECT_EQ(read_file_text(dir.write("latin1.txt", "caf\xE9")), std::nullopt);
  EXPECT_EQ(read_file_text(dir.write("cut.txt", "\xE3\x80")), std::nullopt);
}

}  // namespace
}  // namespace kalvex
