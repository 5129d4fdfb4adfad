#include "chunked_text.hpp"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>

namespace kalvex {
namespace {

constexpr std::size_t first_chunk_bytes = std::size_t{1} << 16;
constexpr std::size_t largest_chunk_bytes = std::size_t{1} << 26;
constexpr std::size_t huge_page_bytes = std::size_t{1} << 21;

// A large output fills hundreds of thousands of pages, each one a page fault;
// in huge pages it takes a few hundred. Only a hint: where the system does not
// give huge pages, or does not know the advice, nothing changes.
void ask_for_huge_pages([[maybe_unused]] char* begin, [[maybe_unused]] std::size_t length) {
#ifdef MADV_HUGEPAGE
  const auto start = reinterpret_cast<std::uintptr_t>(begin);
  const auto first = (start + huge_page_bytes - 1) & ~(huge_page_bytes - 1);
  const auto last = (start + length) & ~(huge_page_bytes - 1);
  if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#endif
}

}  // namespace

std::string& ChunkedText::with_room(std::size_t room) {
  if (!chunks_.empty() && chunks_.back().capacity() - chunks_.back().size() >= room) return chunks_.back();
  const std::size_t doubled =
      chunks_.empty() ? first_chunk_bytes : std::min(chunks_.back().capacity() * 2, largest_chunk_bytes);
  const std::size_t capacity = std::max(doubled, room * 2);
  std::string& chunk = chunks_.emplace_back();
  // Reserved pages that are never written cost no memory.
  chunk.reserve(capacity);
  // Small chunks stay in small pages: a huge page is resident as soon as one
  // byte of it is written, which would show in a short batch's memory.
  if (capacity >= 8 * huge_page_bytes) ask_for_huge_pages(chunk.data(), chunk.capacity());
  return chunk;
}

std::vector<std::string_view> ChunkedText::pieces() const {
  return {chunks_.begin(), chunks_.end()};
}

std::string ChunkedText::joined() const {
  std::string text;
  text.reserve(size());
  for (const std::string& chunk : chunks_) text += chunk;
  return text;
}

std::size_t ChunkedText::size() const {
  std::size_t total = 0;
  for (const std::string& chunk : chunks_) total += chunk.size();
  return total;
}

}  // namespace kalvex
