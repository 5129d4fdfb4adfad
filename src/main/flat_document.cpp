#include "flat_document.hpp"

#include <nlohmann/json.hpp>
#include <stdexcept>

#include "common_keys.hpp"

namespace kalvex {
namespace {

// A text checked to need no escaping when the program was built.
void append_plain_string(std::string& out, std::string_view text) {
  out.push_back('"');
  out.append(text);
  out.push_back('"');
}

// Byte order of keys; the first bytes mostly differ already, so the whole
// comparison is seldom needed. Keys are never empty (PlainText).
bool key_before(std::string_view a, std::string_view b) {
  const auto first_a = static_cast<unsigned char>(a.front());
  const auto first_b = static_cast<unsigned char>(b.front());
  if (first_a != first_b) return first_a < first_b;
  return a < b;
}

}  // namespace

FlatDocument::Member& FlatDocument::slot(PlainText plain_key) {
  const std::string_view key = plain_key.view();
  std::size_t at = 0;
  while (at < size_ && key_before(members_[at].key, key)) ++at;
  if (at < size_ && members_[at].key == key) {
    members_[at] = Member{};
  } else {
    // Documents have a fixed set of keys, all far below the capacity.
    if (size_ == kMaxMembers) throw std::length_error("FlatDocument: too many members");
    for (std::size_t i = size_; i > at; --i) members_[i] = members_[i - 1];
    members_[at] = Member{};
    ++size_;
  }
  members_[at].key = key;
  return members_[at];
}

std::string_view FlatDocument::text(const Member& member) const {
  return member.kind == Kind::owned_text ? std::string_view(owned_texts_[member.count]) : member.text;
}

void FlatDocument::put_text(PlainText key, std::string_view text) {
  Member& member = slot(key);
  member.kind = Kind::text;
  member.text = text;
}

void FlatDocument::put_owned_text(PlainText key, std::string text) {
  if (owned_count_ == kMaxOwnedTexts) throw std::length_error("FlatDocument: too many owned texts");
  Member& member = slot(key);
  member.kind = Kind::owned_text;
  member.count = owned_count_;
  owned_texts_[owned_count_++] = std::move(text);
}

void FlatDocument::put_plain_text(PlainText key, PlainText text) {
  Member& member = slot(key);
  member.kind = Kind::plain_text;
  member.text = text.view();
}

void FlatDocument::put_optional_text(PlainText key, std::optional<std::string_view> text) {
  if (text) {
    put_text(key, *text);
  } else {
    slot(key).kind = Kind::null;
  }
}

void FlatDocument::put_double(PlainText key, double value) {
  Member& member = slot(key);
  member.kind = Kind::real;
  member.real = value;
}

void FlatDocument::put_double_list(PlainText key, std::vector<double> values) {
  for (std::size_t i = 0; i < size_; ++i) {
    if (members_[i].kind == Kind::reals && members_[i].key != key.view()) {
      throw std::length_error("FlatDocument: one list per document");
    }
  }
  slot(key).kind = Kind::reals;
  reals_ = std::move(values);
}

void FlatDocument::put_count(PlainText key, std::uint64_t count) {
  Member& member = slot(key);
  member.kind = Kind::count;
  member.count = count;
}

void FlatDocument::put_common_keys() {
  for (const CommonKey& common : common_keys) put_plain_text(common.key, common.value);
}

std::optional<std::string_view> FlatDocument::text_of(std::string_view key) const {
  for (std::size_t i = 0; i < size_; ++i) {
    const Member& member = members_[i];
    if (member.key != key) continue;
    if (member.kind != Kind::text && member.kind != Kind::owned_text && member.kind != Kind::plain_text) {
      return std::nullopt;
    }
    return text(member);
  }
  return std::nullopt;
}

void FlatDocument::append_text(std::string& out, int depth) const {
  if (size_ == 0) {
    out.append("{}");
    return;
  }
  out.push_back('{');
  for (std::size_t i = 0; i < size_; ++i) {
    const Member& member = members_[i];
    out.append(i == 0 ? "\n" : ",\n");
    append_json_indent(out, depth + 1);
    append_plain_string(out, member.key);
    out.append(": ");
    switch (member.kind) {
      case Kind::text:
      case Kind::owned_text:
        append_json_string(out, text(member));
        break;
      case Kind::plain_text:
        append_plain_string(out, member.text);
        break;
      case Kind::null:
        out.append("null");
        break;
      case Kind::real:
        append_json_double(out, member.real);
        break;
      case Kind::count:
        append_json_unsigned(out, member.count);
        break;
      case Kind::reals:
        if (reals_.empty()) {
          out.append("[]");
          break;
        }
        out.push_back('[');
        for (std::size_t k = 0; k < reals_.size(); ++k) {
          out.append(k == 0 ? "\n" : ",\n");
          append_json_indent(out, depth + 2);
          append_json_double(out, reals_[k]);
        }
        out.push_back('\n');
        append_json_indent(out, depth + 1);
        out.push_back(']');
        break;
    }
  }
  out.push_back('\n');
  append_json_indent(out, depth);
  out.push_back('}');
}

JsonValue FlatDocument::to_json() const {
  JsonValue document = JsonValue::object();
  for (std::size_t i = 0; i < size_; ++i) {
    const Member& member = members_[i];
    JsonValue& value = document[std::string(member.key)];
    switch (member.kind) {
      case Kind::text:
      case Kind::owned_text:
      case Kind::plain_text:
        value = std::string(text(member));
        break;
      case Kind::null:
        value = nullptr;
        break;
      case Kind::real:
        value = json_double(member.real);
        break;
      case Kind::count:
        value = member.count;
        break;
      case Kind::reals:
        value = JsonValue::array();
        for (const double real : reals_) value.push_back(json_double(real));
        break;
    }
  }
  return document;
}

}  // namespace kalvex
