// A long text built by appending, held in chunks so that it never has to be
// copied to grow.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kalvex {

// A text of unknown final length (a batch's output, hundreds of megabytes or a
// few bytes). One string grown by doubling would copy itself over and over and,
// at its last step, hold the old and the new buffer at once; a guess of the
// final size made early can be wildly off. Here each chunk is reserved once and
// filled, and the next one is twice as large, up to a cap.
class ChunkedText {
 public:
  // The string to append the next piece to, with at least `room` bytes free
  // in it; valid until the next call. A piece longer than that still fits:
  // the chunk then grows by itself.
  std::string& with_room(std::size_t room);

  // The chunks in order; joined they are the whole text.
  std::vector<std::string_view> pieces() const;
  std::string joined() const;
  std::size_t size() const;

 private:
  std::vector<std::string> chunks_;
};

}  // namespace kalvex
