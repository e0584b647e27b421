#pragma once
// Colour settings. A setting string is a comma-separated list of
// foreground/background pairs: standard, enhanced (the selected form
// field), border, background, unselected (form fields not being edited).
// Colours are the letters N B G R W, combined (BG, RB, GR, RG ...), or the
// digits 0..7; "+" makes the foreground bright and "*" blinks. Any other
// character is ignored. The empty string restores the defaults.
#include <cstdint>
#include <string>
#include <string_view>

namespace intra {

// A PC text attribute: bits 0-2 foreground, 3 bright, 4-6 background, 7 blink.
using Attribute = std::uint8_t;

constexpr Attribute make_attribute(int fg, int bg, bool bright = false, bool blink = false) {
  return static_cast<Attribute>((fg & 7) | (bright ? 8 : 0) | ((bg & 7) << 4) | (blink ? 0x80 : 0));
}
constexpr int foreground_of(Attribute a) { return a & 0x0F; }  // with the bright bit
constexpr int background_of(Attribute a) { return (a >> 4) & 7; }
constexpr bool blinks(Attribute a) { return (a & 0x80) != 0; }

struct ColourSetting {
  static constexpr Attribute kDefaultStandard = make_attribute(7, 0);  // W/N
  static constexpr Attribute kDefaultEnhanced = make_attribute(0, 7);  // N/W

  Attribute standard = kDefaultStandard;
  Attribute enhanced = kDefaultEnhanced;
  Attribute border = 0;
  Attribute background = 0;
  Attribute unselected = kDefaultEnhanced;

  // Applies a setting string over this one. An empty pair keeps that slot;
  // with fewer than five pairs the unselected fields look like the enhanced one.
  // The empty string gives the defaults.
  static ColourSetting parse(std::string_view text);
  static ColourSetting parse(std::string_view text, const ColourSetting& current);
  // One pair, e.g. "W+/R"; false when it names no colour at all.
  static bool parse_pair(std::string_view pair, Attribute& out);
};

// "W+/R" for an attribute, for messages and tests.
std::string attribute_name(Attribute a);

}  // namespace intra
