#include "emit_document.hpp"

#include "exit_codes.hpp"
#include "file_replace.hpp"
#include "flat_document.hpp"
#include "std_streams.hpp"

namespace kalvex {
namespace {

void emit_whole_text(const std::optional<std::string>& output_path, std::string_view text) {
  emit_document_text(output_path, std::span<const std::string_view>(&text, 1));
}

}  // namespace

void emit_document(const std::optional<std::string>& output_path, const FlatDocument& document) {
  std::string text;
  document.append_text(text, 0);
  emit_whole_text(output_path, text);
}

void emit_document(const std::optional<std::string>& output_path, const JsonValue& document) {
  emit_whole_text(output_path, to_pretty_json(document));
}

void emit_document_text(const std::optional<std::string>& output_path,
                        std::span<const std::string_view> pieces) {
  if (!output_path) {
    for (const std::string_view piece : pieces) write_stdout(piece);
    write_stdout("\n");
    return;
  }
  if (!write_whole_file(*output_path, pieces)) {
    write_stderr("kalvex: could not write " + *output_path + "\n");
    end_run(ExitCode::failure);
  }
  write_stderr("[kalvex] wrote " + *output_path + "\n");
}

}  // namespace kalvex
