// Texts known when the program is built to need no escaping in JSON.
#pragma once

#include <string_view>

namespace kalvex {

// A non-empty text with no quote, backslash or control byte, checked when the
// program is built: keys and fixed values go out as they are, and a key's
// first byte can be read without a test.
class PlainText {
 public:
  consteval PlainText(std::string_view text) : text_(text) {  // NOLINT: implicit on purpose
    // Reaching a throw makes the constant evaluation, and so the build, fail.
    if (text.empty()) throw "plain text must not be empty";
    for (const char c : text) {
      const auto byte = static_cast<unsigned char>(c);
      if (byte < 0x20 || byte == 0x22 || byte == 0x5C) throw "text needs escaping";
    }
  }
  consteval PlainText(const char* text) : PlainText(std::string_view(text)) {}  // NOLINT
  constexpr std::string_view view() const { return text_; }

 private:
  std::string_view text_;
};

}  // namespace kalvex
