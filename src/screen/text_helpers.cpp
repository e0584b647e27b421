#include "screen/text_helpers.h"

namespace intra {

std::string STR2(long n) {
  if (n == 0 || n > 99 || n < -9) return "00";
  std::string s = std::to_string(n);  // -9..-1 right-aligned as "-9".."-1"
  return s.size() == 1 ? "0" + s : s;
}

std::string USUN_SPACJE(std::string_view text) { return USUN_ZN(text, " "); }

std::string USUN_ZN(std::string_view text, std::string_view characters) {
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    if (characters.find(c) == std::string_view::npos) out += c;
  return out;
}

}  // namespace intra
