// Per-call cost of the engine's entry points and of the JSON writer.
#include <benchmark/benchmark.h>

#include <array>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "flat_document.hpp"
#include "json_text.hpp"
#include "kalvex/engine.hpp"
#include "result_document.hpp"

namespace {

void BM_EvaluateExpression(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(kalvex::evaluate_expression("hbar*c^3/(8*pi*G*1.989e30*kb)", "lucas"));
  }
}
BENCHMARK(BM_EvaluateExpression);

void BM_ComputeDomain(benchmark::State& state) {
  const std::array<double, 1> params{1.989e30};
  for (auto _ : state) {
    benchmark::DoNotOptimize(kalvex::compute_domain("hawking", params, "lucas"));
  }
}
BENCHMARK(BM_ComputeDomain);

// A document shaped like an expression result.
kalvex::JsonValue sample_document() {
  kalvex::JsonValue document = kalvex::JsonValue::object();
  document["kind"] = "compute";
  document["label"] = "T";
  document["expression"] = "T = hbar*c^3/(8*pi*G*M*kb)";
  document["evaluated"] = "hbar*c^3/(8*pi*G*(1.98900000000000000e30)*kb)";
  document["zone"] = "lucas";
  document["precision_requested"] = nullptr;
  document["value"] = 6.168429712630866e-08;
  document["drift"] = 0.7398986382457141;
  document["rel_uncertainty_pct"] = 0.08322811796537252;
  document["trust"] = "PRECISE";
  document["status"] = "ok";
  document["note"] = "Kalvex precision is drift-tracked, not fixed-digit.";
  kalvex::add_common_keys(document);
  return document;
}

void BM_ToPrettyJson(benchmark::State& state) {
  const kalvex::JsonValue document = sample_document();
  for (auto _ : state) {
    benchmark::DoNotOptimize(kalvex::to_pretty_json(document));
  }
}
BENCHMARK(BM_ToPrettyJson);

// The same document as a batch item renders it: flat, straight to text.
void BM_FlatDocumentText(benchmark::State& state) {
  kalvex::FlatDocument document;
  document.put_plain_text("kind", "compute");
  document.put_text("label", "T");
  document.put_text("expression", "T = hbar*c^3/(8*pi*G*M*kb)");
  document.put_text("evaluated", "hbar*c^3/(8*pi*G*(1.98900000000000000e30)*kb)");
  document.put_text("zone", "lucas");
  document.put_optional_text("precision_requested", std::nullopt);
  document.put_double("value", 6.168429712630866e-08);
  document.put_double("drift", 0.7398986382457141);
  document.put_double("rel_uncertainty_pct", 0.08322811796537252);
  document.put_plain_text("trust", "PRECISE");
  document.put_plain_text("status", "ok");
  document.put_plain_text("note", "Kalvex precision is drift-tracked, not fixed-digit.");
  document.put_common_keys();
  std::string out;
  for (auto _ : state) {
    out.clear();
    document.append_text(out, 1);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_FlatDocumentText);

}  // namespace

BENCHMARK_MAIN();
