#include "input_job.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "domain_job.hpp"
#include "expression_job.hpp"

namespace kalvex {
namespace {

// The outcome's document text in one piece, if it has one.
std::optional<std::string> text_of(const InputOutcome& outcome) {
  if (!outcome.document_text) return std::nullopt;
  return outcome.document_text->joined();
}

JsonValue parsed(const std::string& text) {
  auto value = parse_json(text);
  EXPECT_TRUE(value.has_value()) << text;
  return value.value_or(JsonValue());
}

TEST(BatchJob, ResolvesKeysWithTheirFallbacks) {
  struct Case {
    const char* element;
    JobKind kind;
    const char* text;
  };
  const Case cases[] = {
      {"{\"expression\": \"1+1\"}", JobKind::expression, "1+1"},
      {"{\"expr\": \"1+1\"}", JobKind::expression, "1+1"},
      // "expr" stands in only for an absent "expression".
      {"{\"expression\": 5, \"expr\": \"1+1\"}", JobKind::unsupported, ""},
      {"{\"expression\": null, \"expr\": \"1+1\", \"formula\": \"wien\"}", JobKind::domain, "wien"},
      {"{\"expression\": \"2\", \"domain\": \"wien\"}", JobKind::expression, "2"},
      {"{\"domain\": \"gravity\"}", JobKind::domain, "gravity"},
      {"{\"domain\": [\"wien\"], \"formula\": \"wien\"}", JobKind::unsupported, ""},
      {"{\"Expression\": \"1\"}", JobKind::unsupported, ""},
      {"{}", JobKind::unsupported, ""},
      {"7", JobKind::unsupported, ""},
      {"\"1+1\"", JobKind::unsupported, ""},
  };
  for (const Case& c : cases) {
    const JsonValue element = parsed(c.element);
    const BatchJob job = resolve_batch_job(element, "lucas", std::nullopt);
    EXPECT_EQ(job.kind, c.kind) << c.element;
    EXPECT_EQ(job.text, c.text) << c.element;
  }
}

TEST(BatchJob, ZonePrecisionAndLabelOfTheElementElseTheCommands) {
  struct Case {
    const char* element;
    const char* zone;
    std::optional<std::string> precision;
    std::optional<std::string> label;
  };
  const Case cases[] = {
      {"{\"zone\": \"sinh\", \"precision\": 60, \"label\": \"\"}", "sinh", "60", ""},
      {"{\"precision\": 60.0}", "lucas", "60.0", std::nullopt},
      {"{\"precision\": 60.5}", "lucas", "60.5", std::nullopt},
      {"{\"precision\": 1e3}", "lucas", "1000.0", std::nullopt},
      {"{\"precision\": -0}", "lucas", "-0.0", std::nullopt},
      {"{\"precision\": \"\"}", "lucas", "", std::nullopt},
      {"{\"precision\": true, \"zone\": 3, \"label\": 4}", "lucas", "cmd", std::nullopt},
      {"{\"precision\": null, \"label\": \"E\"}", "lucas", "cmd", "E"},
      {"[1]", "lucas", "cmd", std::nullopt},
  };
  for (const Case& c : cases) {
    const JsonValue element = parsed(c.element);
    const BatchJob job = resolve_batch_job(element, "lucas", "cmd");
    EXPECT_EQ(job.zone, c.zone) << c.element;
    EXPECT_EQ(job.precision, c.precision) << c.element;
    EXPECT_EQ(job.label, c.label) << c.element;
  }
  EXPECT_EQ(resolve_batch_job(parsed("{}"), "lucas", std::nullopt).precision, std::nullopt);
}

// The batch text is the writer's own form of the array of item documents.
TEST(InputJob, BatchTextIsThePrettyArrayOfTheItemDocuments) {
  const char* batch =
      "[{\"expression\": \"E = m*c^2\", \"params\": {\"m\": 2}, \"label\": \"\"},"
      " {\"domain\": \"wien\", \"params\": [5778], \"label\": \"peak\", \"zone\": \"sinh\"},"
      " {\"domain\": \"gravity\", \"params\": {\"a\": 1}, \"precision\": 9},"
      " 42]";
  const InputOutcome outcome = compute_input_text(batch, "lucas", "60");
  ASSERT_TRUE(outcome.document_text.has_value());
  EXPECT_EQ(outcome.status, ExitCode::failure);

  JsonValue expected = JsonValue::array();
  JsonValue item = build_expression_result("E = m*c^2", {{"m", 2.0}}, "lucas", "60").to_json();
  item["index"] = 0u;
  item["label"] = "";
  expected.push_back(item);
  item = build_domain_result("wien", DomainParams{5778.0}, "sinh", "60").to_json();
  item["index"] = 1u;
  item["label"] = "peak";
  expected.push_back(item);
  item = build_domain_result("gravity", DomainParams{}, "lucas", "9").to_json();
  item["index"] = 2u;
  expected.push_back(item);
  item = build_unsupported_item("lucas", "60").to_json();
  item["index"] = 3u;
  expected.push_back(item);
  EXPECT_EQ(text_of(outcome), to_pretty_json(expected));
}

TEST(InputJob, LongBatchTextIsThePrettyArrayToo) {
  // Long enough for the output to span several chunks, with items of growing
  // length.
  constexpr std::size_t count = 400;
  std::string batch = "[";
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) batch += ",";
    batch += i % 3 == 0   ? "{\"expr\": \"2*x\", \"params\": {\"x\": " + std::to_string(i) + "}}"
             : i % 3 == 1 ? "{\"domain\": \"wien\", \"params\": [5778], \"label\": \"" + std::string(i, 'l') + "\"}"
                          : std::string("null");
  }
  batch += "]";
  const InputOutcome outcome = compute_input_text(batch, "lucas", std::nullopt);
  ASSERT_TRUE(outcome.document_text.has_value());
  EXPECT_GT(outcome.document_text->pieces().size(), 1u);
  const std::string text = outcome.document_text->joined();
  const auto documents = parse_json(text);
  ASSERT_TRUE(documents.has_value());
  ASSERT_EQ(documents->size(), count);
  for (std::size_t i = 0; i < count; ++i) EXPECT_EQ(documents->at(i).at("index"), i) << i;
  EXPECT_EQ(text, to_pretty_json(*documents));
}

TEST(InputJob, BatchStatusIsSuccessOnlyWhenEveryItemIsOk) {
  const InputOutcome ok = compute_input_text("[{\"expr\": \"1+1\"}, {\"domain\": \"hawking\"}]", "lucas", {});
  EXPECT_EQ(ok.status, ExitCode::success);
  const InputOutcome empty = compute_input_text(" [ ] ", "lucas", {});
  EXPECT_EQ(text_of(empty), "[]");
  EXPECT_EQ(empty.status, ExitCode::success);
  const InputOutcome unevaluable = compute_input_text("[{\"expr\": \"1+1\"}, {\"expr\": \"y\"}]", "lucas", {});
  EXPECT_EQ(unevaluable.status, ExitCode::failure);

  const JsonValue items = parsed(text_of(ok).value_or(""));
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[1].at("index"), 1u);
  EXPECT_FALSE(items[1].contains("label"));
  EXPECT_EQ(items[0].at("label"), "");
}

TEST(InputJob, SingleObjectRunsLikeTheOptionWithItsOwnZoneOnly) {
  const InputOutcome outcome = compute_input_text(
      "{\"expression\": \"x = 2*k\", \"params\": {\"k\": 3}, \"precision\": 9, \"label\": \"y\", \"zone\": \"sinh\"}",
      "lucas", std::nullopt);
  EXPECT_EQ(outcome.status, ExitCode::success);
  EXPECT_EQ(text_of(outcome),
            to_pretty_json(build_expression_result("x = 2*k", {{"k", 3.0}}, "sinh", std::nullopt).to_json()));

  const InputOutcome domain =
      compute_input_text("{\"formula\": \"Hawking\", \"params\": [1.989e30], \"zone\": 5}", "linear_ev", "p");
  EXPECT_EQ(domain.status, ExitCode::success);  // whatever the document's status
  EXPECT_EQ(text_of(domain),
            to_pretty_json(build_domain_result("Hawking", DomainParams{1.989e30}, "linear_ev", "p").to_json()));
}

TEST(InputJob, NothingToComputeGivesNoDocument) {
  for (const char* text : {"", "\xEF\xBB\xBF{\"expr\": \"1\"}", "\"1+1\"", "null", "12", "{}",
                           "{\"expression\": 1}", "{\"expr\": \"1\"} x"}) {
    const InputOutcome outcome = compute_input_text(text, "lucas", std::nullopt);
    EXPECT_EQ(text_of(outcome), std::nullopt) << text;
    EXPECT_EQ(outcome.status, ExitCode::failure) << text;
  }
}

}  // namespace
}  // namespace kalvex
