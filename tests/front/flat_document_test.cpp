// The flat document must write exactly what the tree writer writes for the
// same document, at the top level and nested inside a batch array.
#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <string>

#include "flat_document.hpp"
#include "json_text.hpp"

#include <nlohmann/json.hpp>

namespace kalvex {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

void expect_same_text_as_tree(const FlatDocument& document) {
  EXPECT_EQ([&] {
    std::string out;
    document.append_text(out, 0);
    return out;
  }(), to_pretty_json(document.to_json()));
  std::string nested;
  document.append_text(nested, 1);
  std::string expected;
  append_pretty_json(expected, document.to_json(), 1);
  EXPECT_EQ(nested, expected);
}

TEST(FlatDocument, WritesWhatTheTreeWriterWrites) {
  FlatDocument document;
  document.put_plain_text("kind", "compute");
  document.put_text("label", "q\"\\\x01\t\xc3\xa9/");
  document.put_optional_text("precision_requested", std::nullopt);
  document.put_optional_text("Precision", std::string_view(""));
  document.put_double("value", 6.168429712630866e-08);
  document.put_double("drift", kNaN);
  document.put_double("rel_uncertainty_pct", -kInf);
  document.put_double("zero", -0.0);
  document.put_double_list("params", {5.0, -0.0, kNaN, 1e-7, kInf});
  document.put_owned_text("evaluated", "2*(3.0)");  // short enough to sit inside the string
  document.put_count("index", 18446744073709551615u);
  document.put_common_keys();
  expect_same_text_as_tree(document);
  EXPECT_EQ(document.text_of("kind"), "compute");
  EXPECT_EQ(document.text_of("value"), std::nullopt);
  EXPECT_EQ(document.text_of("status"), std::nullopt);

  // The document keeps its own texts and list through a move.
  std::string before;
  document.append_text(before, 0);
  const FlatDocument moved = std::move(document);
  std::string after;
  moved.append_text(after, 0);
  EXPECT_EQ(after, before);

  FlatDocument empty_list;
  empty_list.put_double_list("params", {});
  expect_same_text_as_tree(empty_list);
}

TEST(FlatDocument, PutReplacesAMemberAndKeepsByteOrder) {
  FlatDocument document;
  document.put_text("label", "E");
  document.put_count("index", 3);
  document.put_text("label", "");
  document.put_text("Zeta", "upper case first");
  EXPECT_EQ(document.text_of("label"), "");
  std::string out;
  document.append_text(out, 0);
  EXPECT_EQ(out, "{\n  \"Zeta\": \"upper case first\",\n  \"index\": 3,\n  \"label\": \"\"\n}");
  expect_same_text_as_tree(document);
  expect_same_text_as_tree(FlatDocument{});
}

}  // namespace
}  // namespace kalvex
