#include "validate_command.hpp"

#include <nlohmann/json.hpp>

#include "emit_document.hpp"
#include "exit_codes.hpp"
#include "kalvex/engine.hpp"
#include "std_streams.hpp"
#include "validation_document.hpp"
#include "validation_report.hpp"

namespace kalvex {

void run_validate(ArgList args) {
  const std::string domain = option_text(args, "--domain").value_or(std::string(validated_domain));
  std::string zone = option_text(args, "--zone").value_or("lucas");
  std::optional<std::string> precision = option_text(args, "--precision");
  const std::optional<std::string> output_path = option_text(args, "--output");

  if (domain != validated_domain) {
    write_stderr(no_reference_message(domain));
    emit_document(output_path, build_no_reference_document(domain));
    end_run(ExitCode::failure);
  }

  const ValidationFigures figures = validate_hawking(zone);
  const ValidationReport report = make_validation_report(std::move(zone), std::move(precision), figures);
  write_stderr(format_validation_report(report));
  // An unwritable output ends the run here with status 1, before FAIL counts.
  emit_document(output_path, build_validation_document(report));
  if (report.result != "PASS") end_run(ExitCode::validation_failed);
}

}  // namespace kalvex
