#include "screen/cp852.h"

#include <gtest/gtest.h>

#include <string>

namespace intra {
namespace {

using namespace std::literals;

TEST(Cp852, PolishLettersRoundTripThroughUtf8) {
  const struct {
    const char* utf8;
    unsigned char byte;
  } letters[] = {
      {"ą", 0xA5}, {"Ą", 0xA4}, {"ć", 0x86}, {"Ć", 0x8F}, {"ę", 0xA9}, {"Ę", 0xA8},
      {"ł", 0x88}, {"Ł", 0x9D}, {"ń", 0xE4}, {"Ń", 0xE3}, {"ó", 0xA2}, {"Ó", 0xE0},
      {"ś", 0x98}, {"Ś", 0x97}, {"ź", 0xAB}, {"Ź", 0x8D}, {"ż", 0xBE}, {"Ż", 0xBD},
  };
  for (const auto& l : letters) {
    const std::string byte(1, static_cast<char>(l.byte));
    EXPECT_EQ(cp852_to_utf8(byte), l.utf8) << l.utf8;
    EXPECT_EQ(utf8_to_cp852(l.utf8), byte) << l.utf8;
  }
  EXPECT_EQ(cp852_to_utf8(utf8_to_cp852("Zażółć gęślą jaźń")), "Zażółć gęślą jaźń");
}

TEST(Cp852, ScreenCellsShowBoxLinesAndControlByteGlyphs) {
  const struct {
    unsigned char byte;
    char32_t shown;
  } cells[] = {
      {0xC9, U'╔'}, {0xCD, U'═'}, {0xBA, U'║'}, {0xBC, U'╝'}, {0xDA, U'┌'}, {0xC4, U'─'}, {0xB3, U'│'},
      {0x18, U'↑'}, {0x19, U'↓'}, {0x1A, U'→'}, {0x1B, U'←'}, {0x10, U'►'}, {0x11, U'◄'}, {0x1E, U'▲'},
      {0x1F, U'▼'}, {0x7F, U'⌂'}, {0x00, U' '},  {'A', U'A'},  {0xFF, U'\u00A0'},
  };
  for (const auto& c : cells) {
    EXPECT_EQ(cp852_to_unicode(c.byte), c.shown) << int(c.byte);
    if (c.byte != 0x00) {
      EXPECT_EQ(unicode_to_cp852(c.shown), c.byte) << int(c.byte);
    }
  }
}

TEST(Cp852, EveryByteShownMapsBackToItself) {
  // Except 0x00 (a blank, which is the space) and 0x15, whose glyph '§' is
  // also the real character at 0xF5.
  for (int b = 1; b < 256; ++b) {
    const auto byte = static_cast<std::uint8_t>(b);
    const std::uint8_t expected = b == 0x15 ? 0xF5 : byte;
    EXPECT_EQ(unicode_to_cp852(cp852_to_unicode(byte)), expected) << b;
  }
}

TEST(Cp852, TextKeepsControlBytesUnlessAskedForGlyphs) {
  const std::string text = "A\r\n\t\x18\x1A\x0C" "B";
  EXPECT_EQ(cp852_to_utf8(text), text);
  EXPECT_EQ(cp852_to_utf8(text, ControlBytes::AsGlyphs), "A♪◙○↑→♀B");
  EXPECT_EQ(utf8_to_cp852("A\r\n\t↑→♀B"), "A\r\n\t\x18\x1A\x0C" "B");
}

TEST(Cp852, BadOrForeignUtf8BecomesTheReplacement) {
  const struct {
    std::string_view utf8;
    std::string cp852;
  } cases[] = {
      {"cena 5€", "cena 5?"},
      {"\xC4", "?"},                   // cut off at the end
      {"\xC4" "A", "?A"},              // continuation missing
      {"\xC0\x80", "??"},              // overlong NUL
      {"\xED\xA0\x80", "???"},         // an encoded surrogate
      {"\xFF\xFE", "??"},              // never valid
      {"中文", "??"},
      {"\0ż"sv, "\0\xBE"s},
  };
  for (const auto& c : cases) EXPECT_EQ(utf8_to_cp852(c.utf8), c.cp852) << c.utf8;
  EXPECT_EQ(utf8_to_cp852("x€", '_'), "x_");
}

TEST(Cp852, AppendsUtf8OfAnyCodePoint) {
  std::string out;
  for (char32_t c : {U'A', U'ł', U'╬', U'\U0001F600', static_cast<char32_t>(0xD800)}) append_utf8(out, c);
  EXPECT_EQ(out, "Ał╬\U0001F600\uFFFD");
}

}  // namespace
}  // namespace intra
