#include "support_request.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kalvex {
namespace {

TEST(SupportMessage, KeepsWordsNotStartingWithADashAndUsesThePlaceholderForBlankText) {
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const std::string placeholder(support_placeholder_message);
  const Case cases[] = {
      {{}, placeholder},
      {{"   "}, placeholder},
      {{"\xE3\x80\x80\t"}, placeholder},
      {{"-h"}, placeholder},
      {{"--help", "-", ""}, placeholder},
      {{"  my  printer  "}, "  my  printer  "},
      {{"a", "-5", "b"}, "a b"},
      {{"", "x"}, " x"},
      {{"a", "", "b"}, "a  b"},
      {{"--zone", "lucas", "printer", "broken"}, "lucas printer broken"},
      {{"r\xC3\xA9sum\xC3\xA9"}, "r\xC3\xA9sum\xC3\xA9"},
  };
  for (const Case& c : cases) EXPECT_EQ(support_message(c.args), c.message) << c.message;
}

TEST(MailtoEncode, UnreservedBytesStayEveryOtherBecomesUpperCaseHex) {
  EXPECT_EQ(mailto_encode("Kalvex Engine support - v1.0.1"), "Kalvex%20Engine%20support%20-%20v1.0.1");
  EXPECT_EQ(mailto_encode("AZaz09-._~"), "AZaz09-._~");
  EXPECT_EQ(mailto_encode("\n\t ?&=%+/:\"#\x7F"), "%0A%09%20%3F%26%3D%25%2B%2F%3A%22%23%7F");
  EXPECT_EQ(mailto_encode("\xC3\xA9"), "%C3%A9");
  EXPECT_EQ(mailto_encode(std::string("\0\x01", 2)), "%00%01");
  EXPECT_EQ(mailto_encode(""), "");
}

TEST(SupportReport, BodyUrlAndThePrintedRequest) {
  const std::vector<std::string> args = {"a", "-5", "b"};
  const SupportReport report = build_support_report(args);
  EXPECT_EQ(report.message, "a b");
  EXPECT_EQ(report.subject, "Kalvex Engine support - v1.0.1");
  EXPECT_EQ(report.body,
            "a b\n"
            "\n"
            "--- diagnostics (please keep) ---\n"
            "product:  Kalvex Engine\n"
            "version:  1.0.1\n"
            "platform: linux/x86_64\n");
  EXPECT_EQ(report.url,
            "mailto:support@kalvex.example?subject=Kalvex%20Engine%20support%20-%20v1.0.1"
            "&body=a%20b%0A%0A---%20diagnostics%20%28please%20keep%29%20---%0A"
            "product%3A%20%20Kalvex%20Engine%0Aversion%3A%20%201.0.1%0A"
            "platform%3A%20linux%2Fx86_64%0A");
  EXPECT_EQ(format_support_request(report),
            "Kalvex Engine - support request\n"
            "To:      support@kalvex.example\n"
            "Subject: Kalvex Engine support - v1.0.1\n"
            "\n" +
                report.body +
                "\n"
                "Opening your mail client... if nothing opens, copy the text above\n"
                "into an email to support@kalvex.example.\n");
}

}  // namespace
}  // namespace kalvex
