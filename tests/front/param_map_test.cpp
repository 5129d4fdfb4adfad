#include "param_map.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cmath>
#include <string>

#include "scratch_dir.hpp"

namespace kalvex {
namespace {

ParamMap params_of(const std::string& argument) {
  return param_map_from_json(load_json_argument(argument));
}

TEST(LoadJsonArgument, ReadsANamedFileElseTheTextItself) {
  testing::ScratchDir dir;
  const std::string file = dir.write("domain.json", "{\"D\": 1.0, \"C\": 2.99e8}");
  EXPECT_EQ(params_of(file), (ParamMap{{"C", 2.99e8}, {"D", 1.0}}));
  EXPECT_EQ(params_of("{\"D\": 1.0, \"C\": 2.99e8}"), (ParamMap{{"C", 2.99e8}, {"D", 1.0}}));

  // A readable file that holds no JSON gives nothing: its name is not tried
  // as JSON text.
  EXPECT_EQ(load_json_argument(dir.write("5", "not json")), std::nullopt);
  // A directory, a file that is not UTF-8 and the empty text fall back to the
  // text, which here does not parse.
  EXPECT_EQ(load_json_argument(dir.path()), std::nullopt);
  EXPECT_EQ(load_json_argument(""), std::nullopt);
  const std::string latin1 = dir.write("latin1.json", "{\"m\": 1, \"x\": \"\xE9\"}");
  EXPECT_EQ(load_json_argument(latin1), std::nullopt);
}

TEST(ParamMapFromJson, KeepsOnlyTheNumericMembersOfAnObject) {
  struct Case {
    const char* text;
    ParamMap expected;
  };
  const Case cases[] = {
      {"{\"m\": \"2\"}", {}},
      {"{\"m\": true}", {}},
      {"[1,2]", {}},
      {"5", {}},
      {"null", {}},
      {"not json", {}},
      {"{\"m\": 1e400}", {}},
      {"{\"M\": 2}", {{"M", 2.0}}},
      {"{\"m\": 1, \"m\": 2}", {{"m", 2.0}}},
      {"{\"m\": 2, \"m\": \"x\"}", {}},
      {"{\"a\": {\"b\": 1}, \"c\": [2], \"d\": null, \"e\": -3, \"x y\": 0.5}", {{"e", -3.0}, {"x y", 0.5}}},
      {"{\"m\": 9007199254740993, \"n\": 18446744073709551615}",
       {{"m", 9007199254740992.0}, {"n", 18446744073709551616.0}}},
  };
  for (const Case& c : cases) EXPECT_EQ(params_of(c.text), c.expected) << c.text;

  const ParamMap negative_zero = params_of("{\"m\": -0}");
  ASSERT_EQ(negative_zero.count("m"), 1u);
  EXPECT_TRUE(std::signbit(negative_zero.at("m")));
  EXPECT_TRUE(param_map_from_json(nullptr).empty());
}

}  // namespace
}  // namespace kalvex
