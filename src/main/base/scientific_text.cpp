#include "scientific_text.hpp"

#include <charconv>
#include <string_view>

namespace kalvex {

std::string scientific_text(double value, int decimals) {
  // Room for a sign, 1 + 17 digits, the point and "e-324"; more decimals than
  // a double needs are never asked for.
  char buffer[48];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, decimals);
  const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));

  // to_chars always signs the exponent and gives it two digits at least
  // ("e+08", "e-324").
  const std::size_t e = text.find('e');
  std::string out(text.substr(0, e + 1));
  std::string_view exponent = text.substr(e + 1);
  if (exponent.front() == '-') out += '-';
  exponent.remove_prefix(1);
  while (exponent.size() > 1 && exponent.front() == '0') exponent.remove_prefix(1);
  out += exponent;
  return out;
}

}  // namespace kalvex
