#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

#include <nlohmann/json.hpp>

#include "exit_codes.hpp"
#include "emit_document.hpp"
#include "result_document.hpp"
#include "trust_verdict.hpp"

namespace kalvex {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(TrustVerdict, StrictThresholds) {
  const struct {
    double value;
    double uncertainty;
    std::string_view verdict;
  } cases[] = {
      {1.0, 0.4999, "PRECISE"},    {1.0, 0.5, "DRIFTING"},    {1.0, 4.9999, "DRIFTING"},
      {1.0, 5.0, "UNRELIABLE"},    {1.0, 1000.0, "UNRELIABLE"}, {1.0, -3.0, "PRECISE"},
      {0.0, 0.0, "PRECISE"},       {-2.0, 0.1, "PRECISE"},    {kNaN, 0.0, "ERROR"},
      {kNaN, 1.0, "ERROR"},        {kInf, 0.0, "ERROR"},      {1.0, kInf, "ERROR"},
      {1.0, kNaN, "ERROR"},        {1.0, -kInf, "ERROR"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(trust_verdict(c.value, c.uncertainty), c.verdict) << c.value << " " << c.uncertainty;
  }
}

TEST(DocumentValues, NonFiniteDoublesBecomeNull) {
  JsonValue document = JsonValue::object();
  document["a"] = json_double(kNaN);
  document["b"] = json_double(-kInf);
  document["c"] = json_double(6.0);
  document["f"] = json_optional_text(std::nullopt);
  document["g"] = json_optional_text(std::string());
  EXPECT_EQ(to_pretty_json(document),
            "{\n  \"a\": null,\n  \"b\": null,\n  \"c\": 6.0,\n  \"f\": null,\n  \"g\": \"\"\n}");
}

class EmitToFile : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("kalvex-emit-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  static std::string content(const std::filesystem::path& path) {
    std::ifstream stream(path, std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
  }

  std::filesystem::path folder_;
};

TEST_F(EmitToFile, WritesTextWithoutNewlineAndTruncates) {
  const auto path = folder_ / "out.json";
  { std::ofstream(path) << std::string(500, 'x'); }
  emit_document(path.string(), JsonValue{{"k", 1}});
  EXPECT_EQ(content(path), "{\n  \"k\": 1\n}");
}

TEST_F(EmitToFile, CreatesFileReadableAndWritableByAllUnderTheUmask) {
  const auto path = folder_ / "new.json";
  const mode_t old_mask = ::umask(022);
  emit_document(path.string(), JsonValue::array());
  ::umask(old_mask);
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0644u);
  EXPECT_EQ(content(path), "[]");
}

TEST_F(EmitToFile, UnwritablePathEndsTheRunWithFailure) {
  for (const std::string& path : {(folder_ / "missing" / "out.json").string(), folder_.string(),
                                 std::string("/dev/full")}) {
    try {
      emit_document(path, JsonValue::array());
      ADD_FAILURE() << "no end of run for " << path;
    } catch (const RunEnded& ended) {
      EXPECT_EQ(ended.status, ExitCode::failure) << path;
    }
  }
}

}  // namespace
}  // namespace kalvex
