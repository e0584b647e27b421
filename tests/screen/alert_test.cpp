#include "screen/alert.h"

#include <gtest/gtest.h>

#include "key_script.h"
#include "screen/key_codes.h"
#include "test_screen.h"

namespace intra {
namespace {

using testing::keys;
using testing::TestScreen;

const std::vector<std::string> kChoices = {"Quit", "Retry", "Default"};

TEST(Alert, ButtonsAreChosenByArrowsEnterOrTheirFirstLetter) {
  const struct {
    const char* name;
    std::vector<int> script;
    int chosen;
  } cases[] = {
      {"Enter on the first", keys({key::kEnter}), 1},
      {"Right", keys({key::kRight, key::kEnter}), 2},
      {"Left wraps", keys({key::kLeft, key::kEnter}), 3},
      {"Right wraps", keys({key::kRight, key::kRight, key::kRight, key::kEnter}), 1},
      {"Tab and Shift+Tab", keys({key::kTab, key::kTab, key::kShiftTab, key::kEnter}), 2},
      {"End and Home", keys({key::kEnd, key::kEnter}), 3},
      {"letter", keys({"r"}), 2},
      {"capital letter", keys({"D"}), 3},
      {"Esc", keys({key::kRight, key::kEsc}), 0},
      {"odd keys ignored", keys({key::F(2), "z", 300, -50, key::kUp, key::kEnter}), 1},
  };
  for (const auto& c : cases) {
    TestScreen t;
    t.terminal.type(c.script);
    EXPECT_EQ(alert("Blad otwarcia pliku", kChoices, t.con), c.chosen) << c.name;
    EXPECT_EQ(t.terminal.keys_left(), 0u) << c.name;
  }
}

TEST(Alert, CentredDoubleBoxWithTheLinesAndTheButtonsOnItsLastRow) {
  TestScreen t;
  // The terminal keeps the screen it was shown while the box waited for its key.
  t.terminal.type(keys({key::kEsc}));
  alert("Printer not ready;Check the paper", {"Retry", "Quit"}, t.con);
  const ScreenBuffer& shown = t.terminal.presented();
  // 2 lines: height 6, rows 9..14; inside width 17 ("Printer not ready"), box 21 wide, columns 29..49.
  EXPECT_EQ(shown.at(9, 29).ch, 0xC9);
  EXPECT_EQ(shown.at(14, 49).ch, 0xBC);
  EXPECT_EQ(shown.row_text(10).substr(31, 17), "Printer not ready");
  EXPECT_EQ(shown.row_text(11).substr(31, 17), " Check the paper ");
  EXPECT_EQ(shown.row_text(13).substr(31, 17), "  Retry    Quit  ");
  EXPECT_EQ(shown.at(13, 32).attr, make_attribute(7, 1, true));  // the current button
  EXPECT_EQ(shown.at(13, 41).attr, make_attribute(7, 4, true));
}

TEST(Alert, ScreenCursorAndColoursAreAsTheyWereAfterwards) {
  TestScreen t;
  t.con.set_colour("GR+/B,W+/R");
  for (int r = 0; r < ScreenBuffer::kRows; ++r) t.con.say(r, 0, std::string(80, static_cast<char>('a' + r % 26)));
  t.con.set_pos(3, 7);
  t.con.show_cursor(true);
  const SavedRegion before = t.con.save(0, 0, 24, 79);
  const std::string colour_before = t.con.colour_string();

  t.terminal.type(keys({"q"}));
  EXPECT_EQ(alert("Blad;" + std::string(150, 'x'), kChoices, t.con), 1);

  const SavedRegion after = t.con.save(0, 0, 24, 79);
  EXPECT_TRUE(before.cells == after.cells);
  EXPECT_TRUE(t.con.cursor_visible());
  EXPECT_EQ(t.con.row(), 3);
  EXPECT_EQ(t.con.col(), 7);
  EXPECT_EQ(t.con.colour_string(), colour_before);
}

TEST(Alert, MessageLinesSplitOnSemicolonsAndWrapAtBlanks) {
  const struct {
    const char* message;
    std::size_t width;
    std::vector<std::string> lines;
  } cases[] = {
      {"one;two", 60, {"one", "two"}},
      {"one;;two", 60, {"one", "", "two"}},
      {"aaa bbb ccc", 7, {"aaa bbb", "ccc"}},
      {"aaa  bbb", 3, {"aaa", "bbb"}},
      {"abcdefgh ij", 3, {"abc", "def", "gh", "ij"}},
      {"", 60, {""}},
  };
  for (const auto& c : cases) EXPECT_EQ(alert_lines(c.message, c.width), c.lines) << c.message;
}

TEST(Alert, HugeMessagesAndManyButtonsStayOnTheScreen) {
  TestScreen t;
  std::string message;
  for (int i = 0; i < 40; ++i) message += "line;";
  std::vector<std::string> many(30, "Button");
  t.terminal.type(keys({key::kEnd, key::kEnter}));
  EXPECT_EQ(alert(message, many, t.con), 30);
  t.terminal.type(keys({key::kEsc}));
  EXPECT_EQ(alert("x", {}, t.con), 0);
}

}  // namespace
}  // namespace intra
