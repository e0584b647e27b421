#include "screen/colour.h"

#include <vector>

namespace intra {
namespace {

// Parses one side of a pair; returns whether any colour was named.
bool parse_side(std::string_view side, int& colour, bool& bright, bool& blink) {
  bool named = false;
  colour = 0;
  for (std::size_t i = 0; i < side.size(); ++i) {
    const char c = side[i];
    switch (c) {
      case 'N': case 'n': named = true; break;
      case 'B': case 'b': colour |= 1; named = true; break;
      case 'G': case 'g': colour |= 2; named = true; break;
      case 'R': case 'r': colour |= 4; named = true; break;
      case 'W': case 'w': colour |= 7; named = true; break;
      case '+': bright = true; break;
      case '*': blink = true; break;
      default:
        if (c >= '0' && c <= '9') {
          int n = 0;
          while (i < side.size() && side[i] >= '0' && side[i] <= '9') n = n * 10 + (side[i++] - '0');
          --i;
          colour |= n & 7;
          if (n & 8) bright = true;
          named = true;
        }
        break;  // anything else (quotes, blanks, U, I, X) is ignored
    }
  }
  return named;
}

}  // namespace

bool ColourSetting::parse_pair(std::string_view pair, Attribute& out) {
  const std::size_t slash = pair.find('/');
  const std::string_view fg_text = pair.substr(0, slash);
  const std::string_view bg_text = slash == std::string_view::npos ? std::string_view() : pair.substr(slash + 1);
  int fg = 0, bg = 0;
  bool bright = false, blink = false;
  const bool named_fg = parse_side(fg_text, fg, bright, blink);
  const bool named_bg = parse_side(bg_text, bg, bright, blink);
  if (!named_fg && !named_bg && !bright && !blink) return false;
  out = make_attribute(fg, bg, bright, blink);
  return true;
}

ColourSetting ColourSetting::parse(std::string_view text) { return parse(text, ColourSetting()); }

ColourSetting ColourSetting::parse(std::string_view text, const ColourSetting& current) {
  if (text.empty()) return ColourSetting();
  ColourSetting result = current;
  Attribute* slots[] = {&result.standard, &result.enhanced, &result.border, &result.background,
                        &result.unselected};
  std::size_t index = 0, start = 0;
  while (start <= text.size() && index < 5) {
    std::size_t comma = text.find(',', start);
    if (comma == std::string_view::npos) comma = text.size();
    Attribute a;
    if (parse_pair(text.substr(start, comma - start), a)) *slots[index] = a;
    ++index;
    start = comma + 1;
  }
  if (index < 5) result.unselected = result.enhanced;
  return result;
}

std::string attribute_name(Attribute a) {
  static const char* names[] = {"N", "B", "G", "BG", "R", "RB", "GR", "W"};
  std::string s = names[a & 7];
  if (a & 8) s += "+";
  s += "/";
  s += names[(a >> 4) & 7];
  if (a & 0x80) s += "*";
  return s;
}

}  // namespace intra
