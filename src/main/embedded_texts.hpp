// The fixed texts stored beside the sources (src/main/texts/*.txt), compiled in
// byte for byte at build time. Each holds its file's exact bytes.
#pragma once

#include <string_view>

namespace kalvex::texts {

extern const std::string_view usage_body;         // 667 bytes
extern const std::string_view compute_help;       // 929 bytes
extern const std::string_view validate_help;      // 606 bytes (604 characters)
extern const std::string_view reference_title;    // 68 bytes
extern const std::string_view reference_body;     // 7705 bytes

}  // namespace kalvex::texts
