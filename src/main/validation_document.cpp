#include "validation_document.hpp"

#include <nlohmann/json.hpp>

namespace kalvex {

ResultDocument build_validation_document(const ValidationReport& report) {
  const ValidationFigures& f = report.figures;
  ResultDocument document = JsonValue::object();
  document["kind"] = "validate";
  document["domain"] = validated_domain;
  document["zone"] = report.zone;
  document["precision_requested"] = json_optional_text(report.precision_requested);
  document["reference_mpfr256"] = json_double(f.reference);
  document["kalvex"] = {{"value", json_double(f.value)},
                        {"error_pct", json_double(f.error_pct)},
                        {"drift", json_double(f.drift)}};
  document["ieee754"] = {{"value", json_double(f.ieee754_value)},
                         {"error_pct", json_double(f.ieee754_error_pct)}};
  document["tolerance_pct"] = json_double(report.tolerance_pct);
  document["trust"] = report.trust;
  document["result"] = report.result;
  add_common_keys(document);
  return document;
}

ResultDocument build_no_reference_document(std::string_view domain) {
  ResultDocument document = JsonValue::object();
  document["kind"] = "validate";
  document["domain"] = std::string(domain);
  document["status"] = "no_reference";
  document["supported"] = JsonValue::array({validated_domain});
  add_common_keys(document);
  return document;
}

std::string no_reference_message(std::string_view domain) {
  std::string message = "kalvex validate: no built-in reference for domain '";
  message += domain;
  message += "'. Built-in validation reference is available for: hawking. Use `kalvex compute --domain ";
  message += domain;
  message += " --params ...` for a drift-tracked result.\n";
  return message;
}

}  // namespace kalvex
