// Runs one --input text end to end, from the text through the result documents
// to their JSON text, without touching the file system. Whatever the input, the
// outcome is either "nothing to compute" or a document text that the tool's own
// reader accepts, and a batch gives exactly one document per element.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "input_job.hpp"
#include "json_text.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A larger text only repeats, more slowly, what a short one reaches.
  if (size > 1 << 16) return 0;
  FuzzedDataProvider provider(data, size);
  const std::string zone = provider.PickValueInArray<std::string>({"lucas", "sinh", "linear_ev", "linear_cfd", ""});
  // Command-line texts are valid UTF-8 by the time a job sees them, so the
  // command's precision comes from a fixed list rather than from raw bytes.
  std::optional<std::string_view> precision;
  if (provider.ConsumeBool()) precision = provider.PickValueInArray<std::string_view>({"", "60", "-", "\xc3\xa9 x"});
  const std::string text = provider.ConsumeRemainingBytesAsString();

  const kalvex::InputOutcome outcome = kalvex::compute_input_text(text, zone, precision);
  if (!outcome.document_text) return 0;
  const auto written = kalvex::parse_json(outcome.document_text->joined());
  if (!written) std::abort();
  const auto input = kalvex::parse_json(text);
  if (input && input->is_array() && (!written->is_array() || written->size() != input->size())) std::abort();
  return 0;
}
