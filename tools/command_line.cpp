#include "tools/command_line.hpp"

namespace testcard {

std::string QuoteArgument(std::string_view text) {
  std::string quoted = "'";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte >= 0x7F) {
      const char digits[] = "0123456789abcdef";
      quoted.append("\\x").push_back(digits[byte >> 4]);
      quoted.push_back(digits[byte & 0xF]);
    } else {
      quoted.push_back(c);
    }
  }
  return quoted + "'";
}

std::string VersionText(std::string_view program) {
  // TESTCARD_VERSION comes from the project's version in CMakeLists.txt.
  return std::string(program) + " " + TESTCARD_VERSION + "\n";
}

}  // namespace testcard
