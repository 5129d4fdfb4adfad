// The fixed notices and the version, the same text wherever they appear: the
// usage, reference and version texts, every result document, and the support
// request. Each is a single line with no newline in it.
#pragma once

#include <string_view>

#include "version.hpp"

namespace kalvex {

inline constexpr std::string_view COPYRIGHT_NOTICE = "Copyright (c) 2026 the Kalvex Engine developers";
inline constexpr std::string_view PATENT_NOTICE = "No patent is claimed on Kalvex Engine.";
inline constexpr std::string_view PRODUCT_WEB_ADDRESS = "https://kalvex.example/docs";
inline constexpr std::string_view SUPPORT_MAILBOX = "support@kalvex.example";

// The two lines under the title of the command reference.
inline constexpr std::string_view REFERENCE_COPYRIGHT_LINE =
    "Copyright (c) 2026 the Kalvex Engine developers. All rights reserved.";
inline constexpr std::string_view REFERENCE_PATENT_LINE =
    "Patents: none. No patent is claimed on Kalvex Engine or its drift-tracked arithmetic.";

}  // namespace kalvex
