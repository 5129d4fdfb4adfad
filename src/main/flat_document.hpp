// A compute result document held flat: a handful of members whose values are
// texts, nulls, doubles, a count or one list of doubles. It writes exactly the
// text that to_pretty_json gives for the same document as a JsonValue, without
// building the tree, so a batch of a million items renders each item with
// hardly an allocation of its own.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "json_text.hpp"
#include "plain_text.hpp"

namespace kalvex {

class FlatDocument {
 public:
  // Each put keeps the members in ascending byte order of their keys and
  // replaces a member already present, as an object of the value model does.

  // A text the caller keeps alive for as long as the document lives.
  void put_text(PlainText key, std::string_view text);
  // A text the document keeps itself (at most two per document: an
  // expression's label and its substituted text).
  void put_owned_text(PlainText key, std::string text);
  // A fixed text, written without looking for bytes to escape.
  void put_plain_text(PlainText key, PlainText text);
  // A string when present (the empty text included), null when absent; the
  // caller keeps the text alive.
  void put_optional_text(PlainText key, std::optional<std::string_view> text);
  // A number when finite, null otherwise.
  void put_double(PlainText key, double value);
  // An array of doubles, each by the rule of put_double; the document keeps
  // the list (one per document).
  void put_double_list(PlainText key, std::vector<double> values);
  void put_count(PlainText key, std::uint64_t count);
  // The keys that every document carries (common_keys.hpp).
  void put_common_keys();

  // The text of the member under `key` when it holds one.
  std::optional<std::string_view> text_of(std::string_view key) const;

  // Appends the document as append_pretty_json would at `depth`.
  void append_text(std::string& out, int depth) const;
  // The same document as a JsonValue object, for checking the text above
  // against the tree writer.
  JsonValue to_json() const;

 private:
  enum class Kind { text, owned_text, plain_text, null, real, reals, count };
  struct Member {
    std::string_view key;
    Kind kind = Kind::null;
    std::string_view text;    // text, plain_text
    double real = 0.0;        // real
    std::uint64_t count = 0;  // count; the slot of an owned_text
  };

  Member& slot(PlainText key);
  std::string_view text(const Member& member) const;

  // The largest document, an expression item, has 15 members.
  static constexpr std::size_t kMaxMembers = 16;
  static constexpr std::size_t kMaxOwnedTexts = 2;
  std::array<Member, kMaxMembers> members_{};
  std::size_t size_ = 0;
  std::array<std::string, kMaxOwnedTexts> owned_texts_;
  std::size_t owned_count_ = 0;
  std::vector<double> reals_;
};

}  // namespace kalvex
