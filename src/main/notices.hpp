// The four fixed notices and the version, the same text wherever they appear:
// the usage, reference and version texts, every result document, and the
// support request.
#pragma once

#include <string_view>

namespace kalvex {

inline constexpr std::string_view VERSION = "1.0.1";
inline constexpr std::string_view COPYRIGHT_NOTICE = "Copyright (c) 2026 the Kalvex Engine developers";
inline constexpr std::string_view PATENT_NOTICE = "No patent is claimed on Kalvex Engine.";
inline constexpr std::string_view PRODUCT_WEB_ADDRESS = "https://kalvex.example/docs";
inline constexpr std::string_view SUPPORT_MAILBOX = "support@kalvex.example";

}  // namespace kalvex
