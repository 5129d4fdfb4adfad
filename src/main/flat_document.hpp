// A result document held flat: a handful of members whose values are texts,
// nulls, doubles, a count or one list of doubles, each pointing at data the
// caller keeps alive. It writes exactly the text that to_pretty_json gives for
// the same document as a JsonValue, without building the tree, so a batch of a
// million items renders each item with no allocation of its own.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "json_text.hpp"

namespace kalvex {

// A text known when the program is built to need no escaping in JSON (no
// quote, backslash or control byte): keys and fixed values go out as they are.
class PlainText {
 public:
  consteval PlainText(std::string_view text) : text_(text) {  // NOLINT: implicit on purpose
    for (const char c : text) {
      const auto byte = static_cast<unsigned char>(c);
      // Reaching this throw makes the constant evaluation, and so the build, fail.
      if (byte < 0x20 || byte == 0x22 || byte == 0x5C) throw "text needs escaping";
    }
  }
  consteval PlainText(const char* text) : PlainText(std::string_view(text)) {}  // NOLINT
  constexpr std::string_view view() const { return text_; }

 private:
  std::string_view text_;
};

class FlatDocument {
 public:
  // Each put keeps the members in ascending byte order of their keys and
  // replaces a member already present, as an object of the value model does.
  // The views must outlive the document.
  void put_text(PlainText key, std::string_view text);
  // A fixed text, written without looking for bytes to escape.
  void put_plain_text(PlainText key, PlainText text);
  // A string when present (the empty text included), null when absent.
  void put_optional_text(PlainText key, std::optional<std::string_view> text);
  // A number when finite, null otherwise (the rule of json_double).
  void put_double(PlainText key, double value);
  // An array of doubles, each by the rule of put_double.
  void put_double_list(PlainText key, std::span<const double> values);
  void put_count(PlainText key, std::uint64_t count);
  // "engine", "copyright" and "patent", as add_common_keys puts them.
  void put_common_keys();

  // The text of the member under `key` when it holds one.
  std::optional<std::string_view> text_of(std::string_view key) const;

  // Appends the document as append_pretty_json would at `depth`.
  void append_text(std::string& out, int depth) const;
  // The same document as a JsonValue object.
  JsonValue to_json() const;

 private:
  enum class Kind { text, plain_text, null, real, reals, count };
  struct Member {
    std::string_view key;
    Kind kind = Kind::null;
    std::string_view text;
    double real = 0.0;
    std::span<const double> reals;
    std::uint64_t count = 0;
  };

  Member& slot(PlainText key);

  // The largest document, an expression item, has 15 members.
  static constexpr std::size_t kMaxMembers = 16;
  std::array<Member, kMaxMembers> members_{};
  std::size_t size_ = 0;
};

}  // namespace kalvex
