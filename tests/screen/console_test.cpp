#include <gtest/gtest.h>

#include "screen/key_codes.h"
#include "test_screen.h"

namespace intra {
namespace {

using testing::TestScreen;

TEST(Colour, ParsesPairsLettersDigitsAndModifiers) {
  struct Case {
    const char* text;
    Attribute standard, enhanced;
  } cases[] = {
      {"W+/R", make_attribute(7, 4, true), ColourSetting::kDefaultEnhanced},
      {"RG+/N", make_attribute(6, 0, true), ColourSetting::kDefaultEnhanced},
      {"0/7", make_attribute(0, 7), ColourSetting::kDefaultEnhanced},
      {"GR+/B,W+/R", make_attribute(6, 1, true), make_attribute(7, 4, true)},
      {"\"BG/RB\"", make_attribute(3, 5), ColourSetting::kDefaultEnhanced},
      {"W*/B", make_attribute(7, 1, false, true), ColourSetting::kDefaultEnhanced},
      {",W/R", ColourSetting::kDefaultStandard, make_attribute(7, 4)},
      {"", ColourSetting::kDefaultStandard, ColourSetting::kDefaultEnhanced},
  };
  for (const Case& c : cases) {
    const ColourSetting s = ColourSetting::parse(c.text);
    EXPECT_EQ(attribute_name(s.standard), attribute_name(c.standard)) << c.text;
    EXPECT_EQ(attribute_name(s.enhanced), attribute_name(c.enhanced)) << c.text;
  }
}

TEST(Colour, EmptyStringRestoresDefaultsOverAnySetting) {
  const ColourSetting blue = ColourSetting::parse("W/B,GR+/R");
  const ColourSetting back = ColourSetting::parse("", blue);
  EXPECT_EQ(back.standard, ColourSetting::kDefaultStandard);
  EXPECT_EQ(back.enhanced, ColourSetting::kDefaultEnhanced);
}

TEST(ScreenBuffer, BoxesLinesAndRegions) {
  ScreenBuffer s;
  s.box(15, 30, 19, 72, BoxType::Double, 0x70);
  EXPECT_EQ(s.at(15, 30).ch, 0xC9);
  EXPECT_EQ(s.at(19, 72).ch, 0xBC);
  EXPECT_EQ(s.at(17, 30).ch, 0xBA);
  EXPECT_EQ(s.at(17, 31).ch, ' ');  // the inside is left alone
  s.box(6, 0, 6, 79, BoxType::Single, 0x07);
  EXPECT_EQ(s.row_text(6), std::string(80, '\xC4'));
  s.box(7, 28, 14, 28, BoxType::Single, 0x07);
  EXPECT_EQ(s.at(10, 28).ch, 0xB3);

  const SavedRegion saved = s.save(15, 30, 20, 72);
  s.fill(0, 0, 24, 79, 'x', 0x1F);
  s.restore(saved);
  EXPECT_EQ(s.at(15, 30).ch, 0xC9);
  EXPECT_EQ(s.at(15, 30).attr, 0x70);
  EXPECT_EQ(s.at(14, 30).ch, 'x');
}

TEST(Console, TimedWaitEndsAfterItsSecondsOrAtTheFirstKey) {
  TestScreen t;
  EXPECT_EQ(t.con.inkey(5), 0);
  EXPECT_DOUBLE_EQ(t.seconds(), 5.0);
  t.terminal.type_after(std::chrono::seconds(2), {'a'});
  EXPECT_EQ(t.con.inkey(5), 'a');
  EXPECT_LE(t.seconds(), 7.1);
  EXPECT_EQ(t.con.last_key(), 'a');
}

TEST(Console, WaitWithoutLimitOnAnEmptyScriptFailsInsteadOfHanging) {
  TestScreen t;
  EXPECT_THROW(t.con.inkey(0), KeyboardScriptExhausted);
}

TEST(Console, PushedKeysComeFirstAndNextKeyDoesNotTakeThem) {
  TestScreen t;
  t.terminal.type({'b'});
  t.con.push_keys({key::kEsc});
  EXPECT_EQ(t.con.next_key(), key::kEsc);
  EXPECT_EQ(t.con.inkey(0), key::kEsc);
  EXPECT_EQ(t.con.inkey(0), 'b');
}

TEST(Console, HotKeyRunsInsideAWaitAndTheWaitGoesOn) {
  TestScreen t;
  int runs = 0;
  t.con.bind_hot_key(key::kAltK, [&] {
    ++runs;
    EXPECT_EQ(t.con.inkey(0), 'x');  // the handler reads its own keys
  });
  t.terminal.type({key::kAltK, 'x', key::kEnter});
  EXPECT_EQ(t.con.wait_key_with_hot_keys(), key::kEnter);
  EXPECT_EQ(runs, 1);
  t.con.bind_hot_key(key::kAltK, nullptr);
  t.terminal.type({key::kAltK});
  EXPECT_EQ(t.con.wait_key_with_hot_keys(), key::kAltK);
}

TEST(Console, OutWrapsAndScrolls) {
  TestScreen t;
  t.con.set_pos(24, 78);
  t.con.out("abc");
  EXPECT_EQ(t.text(23, 78, 2), "ab");
  EXPECT_EQ(t.text(24, 0, 1), "c");
}

}  // namespace
}  // namespace intra
