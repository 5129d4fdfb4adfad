#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "expected_document.hpp"
#include "json_text.hpp"
#include "kalvex_process.hpp"

namespace kalvex::e2e {
namespace {

const std::string missing_field = "kalvex: --input JSON needs an \"expression\" or \"domain\" field\n";

RunResult compute(const std::vector<std::string>& args) {
  std::vector<std::string> full = {"compute"};
  full.insert(full.end(), args.begin(), args.end());
  return run_kalvex(full, RunOptions{KALVEX_E2E_FIXTURES});
}

// The parsed documents of a batch whose output is the writer's own form.
JsonValue batch_documents(const RunResult& result) {
  const auto documents = parse_json(result.out);
  EXPECT_TRUE(documents.has_value() && documents->is_array()) << result.out;
  if (!documents) return JsonValue::array();
  EXPECT_EQ(result.out, to_pretty_json(*documents) + "\n");
  return *documents;
}

TEST(InputCommand, EmptyBatchAndABatchOfOneNumber) {
  const RunResult empty = compute({"--input", "empty_array.json"});
  EXPECT_EQ(empty.status, 0);
  EXPECT_EQ(empty.out, "[]\n");
  EXPECT_EQ(empty.err, "");

  const RunResult number = compute({"--input", "one_number.json"});
  EXPECT_EQ(number.status, 1);
  EXPECT_EQ(number.err, "");
  EXPECT_EQ(number.out, with_notices(R"([
  {
    "copyright": "@COPYRIGHT@",
    "engine": "Kalvex",
    "index": 0,
    "kind": "compute",
    "patent": "@PATENT@",
    "precision_requested": null,
    "status": "unsupported: batch item needs an \"expression\" or \"domain\" field",
    "zone": "lucas"
  }
]
)"));
}

TEST(InputCommand, MixedBatchWritesEveryItemAndFails) {
  const RunResult result = compute({"--input", "batch_mixed.json", "--zone", "linear_ev", "--precision", "p"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "");
  const JsonValue documents = batch_documents(result);
  ASSERT_EQ(documents.size(), 7u);
  struct Expected {
    const char* status;
    const char* zone;
    JsonValue precision;
    JsonValue label;  // null: no "label" member
  };
  const std::string unsupported_item = "unsupported: batch item needs an \"expression\" or \"domain\" field";
  const Expected expected[] = {
      {"ok", "linear_ev", "p", ""},  // the item's empty label replaces "E"
      {"unknown_domain", "linear_ev", "p", "moon"},
      {unsupported_item.c_str(), "linear_ev", "p", nullptr},
      {unsupported_item.c_str(), "linear_ev", "p", nullptr},  // "expr" is not consulted
      {"ok", "sinh", "60", nullptr},
      {"ok", "linear_ev", "60.0", "E"},
      {"ok", "linear_ev", "p", nullptr},
  };
  for (std::size_t i = 0; i < documents.size(); ++i) {
    SCOPED_TRACE(i);
    const JsonValue& document = documents[i];
    EXPECT_EQ(document.at("index"), i);
    EXPECT_TRUE(document.at("index").is_number_unsigned());
    EXPECT_EQ(document.at("status"), expected[i].status);
    EXPECT_EQ(document.at("zone"), expected[i].zone);
    EXPECT_EQ(document.at("precision_requested"), expected[i].precision);
    if (expected[i].label.is_null()) {
      EXPECT_FALSE(document.contains("label"));
    } else {
      EXPECT_EQ(document.at("label"), expected[i].label);
    }
  }
  // The formula computed although it is not recognised; an object of params
  // gives a formula no numbers; "formula" stands in for an absent "domain".
  EXPECT_NE(documents[1].at("value"), 0.0);
  EXPECT_EQ(documents[4].at("params"), JsonValue::array());
  EXPECT_EQ(documents[6].at("domain"), "wien");
  EXPECT_EQ(documents[5].at("evaluated"), "2*(3.00000000000000000e0)");
}

TEST(InputCommand, SingleObjectRunsLikeItsOption) {
  // Its own "precision" and "label" are not read; a "zone" that is no string
  // leaves the command's zone.
  const RunResult domain = compute({"--input", "single_domain.json"});
  const RunResult option = compute({"--domain", "hawking", "--params", "[1.989e30]"});
  EXPECT_EQ(domain.status, 0);
  EXPECT_EQ(domain.err, "");
  EXPECT_EQ(domain.out, option.out);

  const RunResult expression = compute({"--input", "single_expression.json", "--expression", "1+1"});
  EXPECT_EQ(expression.status, 0);
  const auto document = parse_json(expression.out);
  ASSERT_TRUE(document.has_value()) << expression.out;
  EXPECT_EQ(document->at("label"), "x");
  EXPECT_EQ(document->at("evaluated"), "2*(3.00000000000000000e0)");
  EXPECT_TRUE(document->at("precision_requested").is_null());
  EXPECT_FALSE(document->contains("index"));
}

TEST(InputCommand, InputThatNamesNothingToComputeFails) {
  // A missing file, a byte-order mark, a JSON string, a directory, an object
  // without a usable field; the input decides even when --expression is there.
  for (const char* path : {"no_such.json", "bom.json", "string.json", ".", "neither.json", "not_json.txt"}) {
    const RunResult result = compute({"--input", path, "--expression", "1+1"});
    EXPECT_EQ(result.status, 1) << path;
    EXPECT_EQ(result.out, "") << path;
    EXPECT_EQ(result.err, missing_field) << path;
  }
}

TEST(InputCommand, OutputFileAndItsFailure) {
  TempDir dir;
  const std::string batch = std::string(KALVEX_E2E_FIXTURES) + "/batch_ok.json";
  const RunResult ok = run_kalvex({"compute", "--input", batch}, RunOptions{dir.path()});
  EXPECT_EQ(ok.status, 0);

  const RunResult written = run_kalvex({"compute", "--input", batch, "--output", "b.json"}, RunOptions{dir.path()});
  EXPECT_EQ(written.status, 0);
  EXPECT_EQ(written.out, "");
  EXPECT_EQ(written.err, "[kalvex] wrote b.json\n");
  EXPECT_EQ(read_file(dir.path() / "b.json"), ok.out.substr(0, ok.out.size() - 1));

  // An unwritable output wins over the batch's own status 0.
  const RunResult unwritable = run_kalvex({"compute", "--input", batch, "--output", dir.path().string()},
                                          RunOptions{dir.path()});
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_EQ(unwritable.out, "");
  EXPECT_EQ(unwritable.err, "kalvex: could not write " + dir.path().string() + "\n");
}

}  // namespace
}  // namespace kalvex::e2e
