// The keys that every result document carries, whatever its kind and however
// it is built: the validation documents as trees (add_common_keys), the
// compute documents flat (FlatDocument::put_common_keys). Both read this one
// table, so the two kinds cannot carry different notices.
#pragma once

#include <array>

#include "notices.hpp"
#include "plain_text.hpp"

namespace kalvex {

struct CommonKey {
  PlainText key;
  PlainText value;
};

inline constexpr std::array<CommonKey, 3> common_keys{{
    {"engine", "Kalvex"},
    {"copyright", COPYRIGHT_NOTICE},
    {"patent", PATENT_NOTICE},
}};

}  // namespace kalvex
