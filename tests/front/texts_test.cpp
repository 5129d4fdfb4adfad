#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "embedded_texts.hpp"
#include "fixed_texts.hpp"
#include "notices.hpp"

namespace kalvex {
namespace {

std::vector<std::string_view> lines_of(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    if (end == std::string_view::npos) end = text.size() - 1;
    lines.push_back(text.substr(0, end));
    text.remove_prefix(end + 1);
  }
  return lines;
}

// Characters, not bytes: every byte that does not continue a sequence.
std::size_t utf8_length(std::string_view text) {
  std::size_t count = 0;
  for (char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

std::size_t occurrences(std::string_view text, std::string_view piece) {
  std::size_t count = 0;
  for (std::size_t at = text.find(piece); at != std::string_view::npos; at = text.find(piece, at + 1)) ++count;
  return count;
}

std::string_view line_starting_with(std::string_view text, std::string_view start) {
  for (std::string_view line : lines_of(text)) {
    if (line.substr(0, start.size()) == start) return line;
  }
  return {};
}

TEST(FixedTexts, StoredBodiesHaveTheirExactSizes) {
  struct Body {
    const char* name;
    std::string_view text;
    std::size_t bytes;
    std::size_t lines;
  };
  const Body bodies[] = {
      {"usage_body", texts::usage_body, 667, 12},
      {"compute_help", texts::compute_help, 929, 18},
      {"validate_help", texts::validate_help, 606, 12},
      {"reference_title", texts::reference_title, 68, 2},
      {"reference_body", texts::reference_body, 7705, 175},
  };
  for (const Body& body : bodies) {
    SCOPED_TRACE(body.name);
    EXPECT_EQ(body.text.size(), body.bytes);
    EXPECT_EQ(lines_of(body.text).size(), body.lines);
  }
  // Two middle dots of two bytes each, on the exit line with a blank either side.
  EXPECT_EQ(utf8_length(texts::validate_help), 604u);
  EXPECT_EQ(occurrences(texts::validate_help, "\xC2\xB7"), 2u);
  EXPECT_EQ(line_starting_with(texts::validate_help, "Exit:"),
            "Exit: 0 pass \xC2\xB7 1 no built-in reference \xC2\xB7 3 result FAILED tolerance");
}

TEST(FixedTexts, EveryTextIsCleanLinesWithOneFinalNewline) {
  const std::string_view all[] = {USAGE_TEXT, COMPUTE_HELP_TEXT, VALIDATE_HELP_TEXT, REFERENCE_TEXT, VERSION_LINE,
                                  texts::usage_body, texts::reference_title, texts::reference_body};
  for (std::string_view text : all) {
    SCOPED_TRACE(std::string(text.substr(0, 40)));
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n');
    EXPECT_NE(text.substr(text.size() - 2), "\n\n");
    EXPECT_EQ(text.find('\r'), std::string_view::npos);
    for (std::string_view line : lines_of(text)) {
      if (line.empty()) continue;
      EXPECT_NE(line.back(), ' ') << line;
      EXPECT_NE(line.back(), '\t') << line;
    }
  }
}

TEST(FixedTexts, UsageDescriptionsStartInTheirColumns) {
  // Columns count from 1, so column 34 is index 33.
  EXPECT_EQ(line_starting_with(texts::usage_body, "  kalvex docs").find("print the full"), 33u);
  EXPECT_EQ(line_starting_with(texts::usage_body, "  kalvex help").find("this overview"), 33u);
  EXPECT_EQ(line_starting_with(texts::usage_body, "  kalvex support").find("email the maintainer"), 34u);
}

TEST(FixedTexts, TitleUnderlineIsAsLongAsTheTitle) {
  std::vector<std::string_view> title = lines_of(texts::reference_title);
  ASSERT_EQ(title.size(), 2u);
  EXPECT_EQ(title[0], "Kalvex Engine - Command Reference");
  EXPECT_EQ(title[1], std::string(33, '='));
}

TEST(FixedTexts, NoticesAreSingleLinesAboutThisProduct) {
  const std::string_view notices[] = {COPYRIGHT_NOTICE,         PATENT_NOTICE,        PRODUCT_WEB_ADDRESS,
                                      SUPPORT_MAILBOX,          REFERENCE_COPYRIGHT_LINE, REFERENCE_PATENT_LINE};
  for (std::string_view notice : notices) {
    SCOPED_TRACE(std::string(notice));
    EXPECT_FALSE(notice.empty());
    EXPECT_EQ(notice.find('\n'), std::string_view::npos);
    EXPECT_NE(notice.front(), ' ');
    EXPECT_NE(notice.back(), ' ');
  }
  EXPECT_TRUE(PRODUCT_WEB_ADDRESS.find(".example") != std::string_view::npos);
  EXPECT_TRUE(SUPPORT_MAILBOX.ends_with(".example"));
  EXPECT_EQ(occurrences(SUPPORT_MAILBOX, "@"), 1u);
}

// How each text is put together around its stored body.
TEST(FixedTexts, AssembledTextsFrameTheirBodies) {
  EXPECT_EQ(USAGE_TEXT, std::string("Kalvex Engine 1.0.1 - ") + std::string(COPYRIGHT_NOTICE) + "\n" +
                            std::string(texts::usage_body) + "Docs:  " + std::string(PRODUCT_WEB_ADDRESS) +
                            "   Support: " + std::string(SUPPORT_MAILBOX) + "\n");
  EXPECT_EQ(COMPUTE_HELP_TEXT, texts::compute_help);
  EXPECT_EQ(VALIDATE_HELP_TEXT, texts::validate_help);
  EXPECT_EQ(REFERENCE_TEXT, std::string(texts::reference_title) + std::string(REFERENCE_COPYRIGHT_LINE) + "\n" +
                                std::string(REFERENCE_PATENT_LINE) + "\n\n" + std::string(texts::reference_body) +
                                "configured. Direct assistance: " + std::string(SUPPORT_MAILBOX) + "\n");
  EXPECT_EQ(VERSION_LINE, std::string("kalvex 1.0.1 - ") + std::string(COPYRIGHT_NOTICE) + " " +
                              std::string(PATENT_NOTICE) + "\n");
  EXPECT_EQ(lines_of(VERSION_LINE).size(), 1u);
  // The reference body breaks off mid-sentence; the closing line completes it.
  EXPECT_TRUE(texts::reference_body.ends_with("no mail client\n"));
}

}  // namespace
}  // namespace kalvex
