#include "result_document.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>

#include "exit_codes.hpp"
#include "notices.hpp"
#include "std_streams.hpp"

namespace kalvex {
namespace {

// Writes all of `text` to a new or truncated file; false on any failure,
// including a short write to a full device and a failing close.
bool write_whole_file(const std::string& path, std::string_view text) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool ok = true;
  std::size_t written = 0;
  while (ok && written < text.size()) {
    const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
    if (n > 0) {
      written += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      ok = false;
    }
  }
  if (::close(fd) != 0) ok = false;
  return ok;
}

}  // namespace

std::string_view trust_verdict(double value, double uncertainty_pct) {
  if (!std::isfinite(value) || !std::isfinite(uncertainty_pct)) return "ERROR";
  if (uncertainty_pct < trust_thresholds.precise_below) return "PRECISE";
  if (uncertainty_pct < trust_thresholds.drifting_below) return "DRIFTING";
  return "UNRELIABLE";
}

JsonValue json_double(double value) {
  if (!std::isfinite(value)) return nullptr;
  return value;
}

JsonValue json_double_list(std::span<const double> values) {
  JsonValue list = JsonValue::array();
  for (const double value : values) list.push_back(json_double(value));
  return list;
}

JsonValue json_optional_text(const std::optional<std::string>& text) {
  if (!text) return nullptr;
  return *text;
}

void add_common_keys(ResultDocument& document) {
  document["engine"] = "Kalvex";
  document["copyright"] = COPYRIGHT_NOTICE;
  document["patent"] = PATENT_NOTICE;
}

void emit_document(const std::optional<std::string>& output_path, const ResultDocument& document) {
  emit_document_text(output_path, to_pretty_json(document));
}

void emit_document_text(const std::optional<std::string>& output_path, std::string_view text) {
  if (!output_path) {
    write_stdout(text);
    write_stdout("\n");
    return;
  }
  // A partly written file keeps what was written: nothing is removed.
  if (!write_whole_file(*output_path, text)) {
    write_stderr("kalvex: could not write " + *output_path + "\n");
    end_run(ExitCode::failure);
  }
  write_stderr("[kalvex] wrote " + *output_path + "\n");
}

}  // namespace kalvex
