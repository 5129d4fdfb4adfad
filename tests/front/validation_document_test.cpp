#include <nlohmann/json.hpp>

#include "validation_document.hpp"

#include <gtest/gtest.h>

#include <limits>

#include "notices.hpp"

namespace kalvex {
namespace {

TEST(ValidationDocument, FiguresGroupedAndEachNonFiniteOneNull) {
  const ValidationFigures figures = {6.168429712630829e-08, std::numeric_limits<double>::quiet_NaN(),
                                     0.75, 0.0234, std::numeric_limits<double>::infinity(),
                                     6.169873829087747e-08};
  const ResultDocument document =
      build_validation_document(make_validation_report("foo", std::string("60"), figures));
  const JsonValue expected = {
      {"kind", "validate"},
      {"domain", "hawking"},
      {"zone", "foo"},
      {"precision_requested", "60"},
      {"reference_mpfr256", 6.169873829087747e-08},
      {"kalvex", {{"value", nullptr}, {"error_pct", nullptr}, {"drift", 0.75}}},
      {"ieee754", {{"value", 6.168429712630829e-08}, {"error_pct", 0.0234}}},
      {"tolerance_pct", 1.0},
      {"trust", "ERROR"},
      {"result", "FAIL"},
      {"engine", "Kalvex"},
      {"copyright", COPYRIGHT_NOTICE},
      {"patent", PATENT_NOTICE},
  };
  EXPECT_EQ(document, expected);
  EXPECT_TRUE(document.at("tolerance_pct").is_number_float());
  EXPECT_TRUE(build_validation_document(make_validation_report("lucas", std::nullopt, figures))
                  .at("precision_requested")
                  .is_null());
}

TEST(ValidationDocument, NoReferenceAnswerNamesTheDomainAsTyped) {
  const JsonValue expected = {
      {"kind", "validate"},       {"domain", "HAWKING"},
      {"status", "no_reference"}, {"supported", JsonValue::array({"hawking"})},
      {"engine", "Kalvex"},       {"copyright", COPYRIGHT_NOTICE},
      {"patent", PATENT_NOTICE},
  };
  EXPECT_EQ(build_no_reference_document("HAWKING"), expected);
  EXPECT_EQ(no_reference_message(""),
            "kalvex validate: no built-in reference for domain ''. Built-in validation reference is "
            "available for: hawking. Use `kalvex compute --domain  --params ...` for a drift-tracked "
            "result.\n");
}

}  // namespace
}  // namespace kalvex
