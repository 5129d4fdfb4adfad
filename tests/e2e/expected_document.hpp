// Expected result documents written out as literal text in the tests, with the
// fixed notices filled in where the text says @COPYRIGHT@ and @PATENT@.
#pragma once

#include <string>
#include <string_view>

#include "notices.hpp"

namespace kalvex::e2e {

inline std::string with_notices(std::string text) {
  const auto replace = [&text](std::string_view marker, std::string_view value) {
    for (std::size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at + value.size())) {
      text.replace(at, marker.size(), value);
    }
  };
  replace("@COPYRIGHT@", COPYRIGHT_NOTICE);
  replace("@PATENT@", PATENT_NOTICE);
  return text;
}

}  // namespace kalvex::e2e
