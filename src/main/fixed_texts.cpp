#include "fixed_texts.hpp"

#include <initializer_list>

#include "notices.hpp"
#include "std_streams.hpp"

namespace kalvex {
namespace {

// Joins text pieces into one string, so that each text goes out in one write.
std::string joined(std::initializer_list<std::string_view> pieces) {
  std::string text;
  for (std::string_view piece : pieces) text += piece;
  return text;
}

}  // namespace

// The embedded bodies are constant-initialised views, so reading them here
// during dynamic initialisation is safe whatever the order of translation units.
const std::string USAGE_TEXT =
    joined({"Kalvex Engine ", VERSION, " - ", COPYRIGHT_NOTICE, "\n", texts::usage_body, "Docs:  ",
            PRODUCT_WEB_ADDRESS, "   Support: ", SUPPORT_MAILBOX, "\n"});

const std::string REFERENCE_TEXT =
    joined({texts::reference_title, REFERENCE_COPYRIGHT_LINE, "\n", REFERENCE_PATENT_LINE, "\n", "\n",
            texts::reference_body, "configured. Direct assistance: ", SUPPORT_MAILBOX, "\n"});

const std::string VERSION_LINE = joined({"kalvex ", VERSION, " - ", COPYRIGHT_NOTICE, " ", PATENT_NOTICE, "\n"});

void print_usage() { write_stderr(USAGE_TEXT); }

}  // namespace kalvex
