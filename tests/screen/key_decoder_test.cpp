#include "screen/key_decoder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "screen/key_codes.h"

namespace intra {
namespace {

// Inputs are written with '␛' standing for ESC, so sequences read as the
// terminal documentation writes them.
std::u32string terminal_input(std::u32string_view written) {
  std::u32string input(written);
  for (char32_t& c : input)
    if (c == U'␛') c = 0x1B;
  return input;
}

std::vector<int> drain(KeyDecoder& decoder) {
  std::vector<int> keys;
  while (const auto k = decoder.next()) keys.push_back(*k);
  return keys;
}

// Feeds one code point at a time, as the terminal delivers them.
std::vector<int> decode(std::u32string_view written) {
  KeyDecoder decoder;
  for (char32_t c : terminal_input(written)) decoder.feed(c);
  EXPECT_FALSE(decoder.pending()) << "input left an unfinished sequence";
  return drain(decoder);
}

struct Case {
  const char* what;
  std::u32string_view input;
  std::vector<int> keys;
};

using namespace key;
using namespace std::literals;

TEST(KeyDecoder, TranslatesTerminalInputToClassicKeyCodes) {
  const Case cases[] = {
      {"CSI arrows", U"␛[A␛[B␛[C␛[D", {kUp, kDown, kRight, kLeft}},
      {"SS3 arrows", U"␛OA␛OB␛OC␛OD", {kUp, kDown, kRight, kLeft}},
      {"Home", U"␛[H␛[1~␛[7~␛OH", {kHome, kHome, kHome, kHome}},
      {"End", U"␛[F␛[4~␛[8~␛OF", {kEnd, kEnd, kEnd, kEnd}},
      {"Ins Del PgUp PgDn", U"␛[2~␛[3~␛[5~␛[6~", {kIns, kDel, kPgUp, kPgDn}},
      {"F1-F4 SS3", U"␛OP␛OQ␛OR␛OS", {kF1, F(2), F(3), F(4)}},
      {"F1-F4 CSI", U"␛[11~␛[12~␛[13~␛[14~", {kF1, F(2), F(3), F(4)}},
      {"F1-F5 Linux console", U"␛[[A␛[[B␛[[C␛[[D␛[[E", {kF1, F(2), F(3), F(4), F(5)}},
      {"F5-F12", U"␛[15~␛[17~␛[18~␛[19~␛[20~␛[21~␛[23~␛[24~", {-4, -5, -6, -7, -8, -9, -40, -41}},
      {"Ctrl arrows", U"␛[1;5A␛[1;5B␛[1;5D␛[1;5C", {kCtrlUp, kCtrlDown, kCtrlLeft, kCtrlRight}},
      {"Ctrl Home End PgUp PgDn", U"␛[1;5H␛[1;5F␛[5;5~␛[6;5~", {kCtrlHome, kCtrlEnd, kCtrlPgUp, kCtrlPgDn}},
      {"Ctrl Ins Del", U"␛[2;5~␛[3;5~", {kCtrlIns, kCtrlDel}},
      {"Alt arrows and paging", U"␛[1;3A␛[1;3B␛[1;3D␛[1;3C␛[5;3~␛[6;3~",
       {kAltUp, kAltDown, kAltLeft, kAltRight, kAltPgUp, kAltPgDn}},
      {"Shift leaves navigation keys alone", U"␛[1;2A␛[1;2H␛[3;2~", {kUp, kHome, kDel}},
      {"Ctrl wins over Shift and Alt", U"␛[1;6D␛[1;7C␛[1;8A", {kCtrlLeft, kCtrlRight, kCtrlUp}},
      {"modified F1-F4", U"␛[1;2P␛[1;5Q␛[1;3R␛[1;5S", {-10, -21, -32, -23}},
      {"modified F5-F10", U"␛[15;5~␛[15;3~␛[15;2~␛[21;2~␛[21;5~␛[21;3~", {-24, -34, -14, -19, -29, -39}},
      {"modified F11 F12", U"␛[23;2~␛[24;2~␛[23;5~␛[24;5~␛[23;3~␛[24;3~", {-42, -43, -44, -45, -46, -47}},
      {"SS3 with a modifier", U"␛O5P␛O2Q␛O1;3S", {-20, -11, -33}},
      {"Shift+Tab", U"␛[Z", {kShiftTab}},
      {"rxvt variants", U"␛[a␛Ob␛Od␛[11^␛[5^␛[2$", {kUp, kCtrlDown, kCtrlLeft, -20, kCtrlPgUp, kIns}},
      {"ESC before a sequence is Alt", U"␛␛[A␛␛OD␛␛[[E", {kAltUp, kAltLeft, -34}},
      {"keypad in application mode", U"␛OM␛Ok␛Om␛Op␛Oy", {kEnter, '+', '-', '0', '9'}},
      {"Alt letters, either case", U"␛k␛K␛p␛e␛w␛t␛b", {293, 293, 281, 274, 273, 276, 304}},
      {"Alt digits", U"␛1␛9␛0", {376, 384, 385}},
      {"Esc then a control key typed at once", U"␛\r␛\t", {kEsc, kEnter, kEsc, kTab}},
      {"Esc then Alt+letter", U"␛␛x", {kEsc, Alt('X')}},
      {"Backspace as DEL and BS", U"\x7f\x08", {kBackspace, kBackspace}},
      {"Enter, Ctrl+Enter, Tab", U"\r\n\t", {kEnter, kCtrlEnter, kTab}},
      {"Ctrl letters are their own codes", U"\x01\x03\x13\x19\x1a", {1, 3, 19, 25, 26}},
      {"printable ASCII", U"Ab1 ~", {'A', 'b', '1', ' ', '~'}},
      {"Polish letters as code page 852", U"ąĄćĆęĘłŁńŃóÓśŚźŹżŻ",
       {0xA5, 0xA4, 0x86, 0x8F, 0xA9, 0xA8, 0x88, 0x9D, 0xE4, 0xE3, 0xA2, 0xE0, 0x98, 0x97, 0xAB, 0x8D, 0xBE, 0xBD}},
      {"box drawing typed", U"╔║", {0xC9, 0xBA}},
      {"characters outside the code page", U"€中", {}},
      {"glyphs of control bytes are not keys", U"☺↑→", {}},
      {"NUL, C1 controls and Ctrl+\\ ] ^ _", U"\0\x85\x9b\x1c\x1d\x1e\x1f"sv, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(decode(c.input), c.keys) << c.what;
}

TEST(KeyDecoder, ConsumesUnknownAndMalformedSequencesWithoutGarbage) {
  const std::u32string overlong = U"␛[" + std::u32string(500, U'9') + U"~";
  const Case cases[] = {
      {"unknown number", U"␛[99~x", {'x'}},
      {"unknown final", U"␛[1;5Xy", {'y'}},
      {"mouse report", U"␛[<0;10;5Mz", {'z'}},
      {"device attributes", U"␛[?1;2c", {}},
      {"paste brackets", U"␛[200~ab␛[201~", {'a', 'b'}},
      {"more than two parameters", U"␛[27;5;13~", {}},
      {"keypad centre", U"␛[E␛[G", {}},
      {"overlong parameters", overlong, {}},
      {"control code inside a sequence", U"␛[12\r", {kEnter}},
      {"sequence broken by a new one", U"␛[1;5␛[A", {kUp}},
      {"Linux prefix with junk", U"␛[[Zq", {'q'}},
      {"Alt with punctuation", U"␛-␛ą", {}},
      {"ESC O with no sequence is Alt+O", U"␛O x", {Alt('O'), ' ', 'x'}},
  };
  for (const Case& c : cases) EXPECT_EQ(decode(c.input), c.keys) << c.what;
}

TEST(KeyDecoder, FlushSettlesWhatWasLeftHanging) {
  const Case cases[] = {
      {"lone ESC", U"␛", {kEsc}},
      {"two ESC", U"␛␛", {kEsc, kEsc}},
      {"ESC O", U"␛O", {Alt('O')}},
      {"ESC [", U"␛[", {kEsc, '['}},
      {"cut off in the parameters", U"␛[1;5", {}},
      {"cut off Linux function key", U"␛[[", {}},
      {"keys before the hanging ESC", U"a␛", {'a', kEsc}},
  };
  for (const Case& c : cases) {
    KeyDecoder decoder;
    for (char32_t ch : terminal_input(c.input)) decoder.feed(ch);
    EXPECT_TRUE(decoder.pending()) << c.what;
    decoder.flush();
    EXPECT_FALSE(decoder.pending()) << c.what;
    EXPECT_EQ(drain(decoder), c.keys) << c.what;
    decoder.feed(0x1B);  // decoding goes on normally afterwards
    decoder.feed('[');
    decoder.feed('B');
    EXPECT_EQ(drain(decoder), std::vector<int>{kDown}) << c.what;
  }
}

TEST(KeyDecoder, HoldsKeysUntilTakenAndClearForgetsEverything) {
  KeyDecoder decoder;
  for (char32_t c : terminal_input(U"x␛[1;5")) decoder.feed(c);
  EXPECT_TRUE(decoder.pending());
  EXPECT_EQ(decoder.next(), 'x');
  EXPECT_EQ(decoder.next(), std::nullopt);
  decoder.feed('A');
  EXPECT_FALSE(decoder.pending());
  decoder.feed('y');
  EXPECT_EQ(decoder.next(), kCtrlUp);
  decoder.feed(0x1B);
  decoder.clear();
  EXPECT_FALSE(decoder.pending());
  EXPECT_EQ(decoder.next(), std::nullopt);
}

bool is_classic_key(int k) {
  return (k >= -47 && k <= -1) || (k >= 1 && k <= 421);
}

TEST(KeyDecoder, RandomInputGivesOnlyValidKeysAndNeverHangs) {
  // Escape-heavy noise: ESC, sequence introducers, digits, finals, controls
  // and arbitrary code points, in a fixed pseudo-random order.
  const std::u32string alphabet = U"\x1b\x1b\x1b[[O;;0123456789~^$@ABCDHFPQRSZabcdjy?<\r\x7f\x01\x9bą€\U0010FFFF";
  std::mt19937 random(852);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  KeyDecoder decoder;
  std::size_t produced = 0;
  for (int i = 0; i < 20000; ++i) {
    decoder.feed(i % 97 == 0 ? static_cast<char32_t>(random()) : alphabet[pick(random)]);
    if (i % 50 == 0) decoder.flush();
    while (const auto k = decoder.next()) {
      ASSERT_TRUE(is_classic_key(*k)) << *k;
      ++produced;
    }
  }
  decoder.flush();
  EXPECT_FALSE(decoder.pending());
  EXPECT_GT(produced, 0u);
}

}  // namespace
}  // namespace intra
