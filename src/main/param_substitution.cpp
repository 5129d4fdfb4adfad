#include "param_substitution.hpp"

#include <cstddef>

#include "scientific_text.hpp"

namespace kalvex {
namespace {

bool starts_identifier(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool continues_identifier(char c) { return starts_identifier(c) || (c >= '0' && c <= '9'); }

}  // namespace

std::string param_number_text(double value) { return scientific_text(value, 17); }

std::string substitute_params(std::string_view rhs, const ParamMap& params) {
  std::string out;
  out.reserve(rhs.size());
  std::size_t pos = 0;
  while (pos < rhs.size()) {
    if (!starts_identifier(rhs[pos])) {
      out += rhs[pos++];
      continue;
    }
    std::size_t end = pos + 1;
    while (end < rhs.size() && continues_identifier(rhs[end])) ++end;
    const std::string_view identifier = rhs.substr(pos, end - pos);
    if (const auto found = params.find(identifier); found != params.end()) {
      out += '(';
      out += param_number_text(found->second);
      out += ')';
    } else {
      out += identifier;
    }
    pos = end;
  }
  return out;
}

}  // namespace kalvex
