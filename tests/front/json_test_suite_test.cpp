// The public JSONTestSuite collection: every y_ file must parse, every n_ file
// must fail, and each i_ file (left open by RFC 8259) gets the outcome below.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include <nlohmann/json.hpp>

#include "json_text.hpp"

namespace kalvex {
namespace {

// The i_ files, decided by the reader's rules: a double that overflows fails,
// one that underflows becomes zero, integers beyond 64 bits become doubles;
// text that is not valid UTF-8 (lone or broken surrogates, bad bytes, UTF-16)
// fails; nesting beyond 127 levels fails; a byte-order mark fails.
const std::map<std::string, bool> kImplementationDefined = {
    {"i_number_double_huge_neg_exp.json", true},
    {"i_number_huge_exp.json", false},
    {"i_number_neg_int_huge_exp.json", false},
    {"i_number_pos_double_huge_exp.json", false},
    {"i_number_real_neg_overflow.json", false},
    {"i_number_real_pos_overflow.json", false},
    {"i_number_real_underflow.json", true},
    {"i_number_too_big_neg_int.json", true},
    {"i_number_too_big_pos_int.json", true},
    {"i_number_very_big_negative_int.json", true},
    {"i_object_key_lone_2nd_surrogate.json", false},
    {"i_string_1st_surrogate_but_2nd_missing.json", false},
    {"i_string_1st_valid_surrogate_2nd_invalid.json", false},
    {"i_string_UTF-16LE_with_BOM.json", false},
    {"i_string_UTF-8_invalid_sequence.json", false},
    {"i_string_UTF8_surrogate_U+D800.json", false},
    {"i_string_incomplete_surrogate_and_escape_valid.json", false},
    {"i_string_incomplete_surrogate_pair.json", false},
    {"i_string_incomplete_surrogates_escape_valid.json", false},
    {"i_string_invalid_lonely_surrogate.json", false},
    {"i_string_invalid_surrogate.json", false},
    {"i_string_invalid_utf-8.json", false},
    {"i_string_inverted_surrogates_U+1D11E.json", false},
    {"i_string_iso_latin_1.json", false},
    {"i_string_lone_second_surrogate.json", false},
    {"i_string_lone_utf8_continuation_byte.json", false},
    {"i_string_not_in_unicode_range.json", false},
    {"i_string_overlong_sequence_2_bytes.json", false},
    {"i_string_overlong_sequence_6_bytes.json", false},
    {"i_string_overlong_sequence_6_bytes_null.json", false},
    {"i_string_truncated-utf-8.json", false},
    {"i_string_utf16BE_no_BOM.json", false},
    {"i_string_utf16LE_no_BOM.json", false},
    {"i_structure_500_nested_arrays.json", false},
    {"i_structure_UTF-8_BOM_empty_object.json", false},
};

std::string file_content(const std::filesystem::path& path) {
  std::ifstream stream(path, std::ios::binary);
  std::ostringstream content;
  content << stream.rdbuf();
  return content.str();
}

TEST(JsonTestSuite, EveryFileGetsItsOutcome) {
  const std::filesystem::path folder =
      std::filesystem::path(KALVEX_SHARED_TESTDATA) / "json-test-suite" / "test_parsing";
  if (!std::filesystem::is_directory(folder)) {
    GTEST_SKIP() << "JSONTestSuite not found at " << folder
                 << " (a plain clone has no ../shared); skipping";
  }
  int checked = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    bool expected = false;
    if (name.starts_with("y_")) {
      expected = true;
    } else if (name.starts_with("n_")) {
      expected = false;
    } else if (auto decided = kImplementationDefined.find(name); decided != kImplementationDefined.end()) {
      expected = decided->second;
    } else {
      ADD_FAILURE() << "no outcome decided for " << name;
      continue;
    }
    EXPECT_EQ(parse_json(file_content(entry.path())).has_value(), expected) << name;
    ++checked;
  }
  EXPECT_GT(checked, 0) << "the folder holds no test files";
}

}  // namespace
}  // namespace kalvex
