// The message window OKNO_ in its three forms and the yes/no question OKNO
// drawn in the same window.
#include "screen/message_window.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>

#include "key_script.h"
#include "screen/key_codes.h"
#include "screen/yes_no_question.h"
#include "test_screen.h"

namespace intra {
namespace {

using std::chrono::milliseconds;
using testing::keys;
using testing::TestScreen;

// An attribute by its colour string, e.g. "W+/R" or "0/7", named for messages.
std::string named(std::string_view pair) {
  Attribute a = 0;
  EXPECT_TRUE(ColourSetting::parse_pair(pair, a)) << pair;
  return attribute_name(a);
}

constexpr std::uint8_t kDoubleTopLeft = 0xC9, kDoubleBottomRight = 0xBC, kDoubleHorizontal = 0xCD,
                       kDoubleVertical = 0xBA, kSingleTopLeft = 0xDA, kSingleBottomRight = 0xD9;

// A screen full of letters in a caller's colours, so anything left behind shows.
void fill_screen(TestScreen& t) {
  t.con.set_colour("GR+/B,W+/R");
  for (int r = 0; r < ScreenBuffer::kRows; ++r) t.con.say(r, 0, std::string(80, static_cast<char>('a' + r % 26)));
  t.con.set_pos(3, 7);
}

TEST(MessageWindow, TextIsCentredWithTheFractionDroppedTowardZero) {
  const struct {
    std::size_t length;
    int column;
  } cases[] = {
      {0, 51},  {1, 51},  {2, 50},  {40, 31}, {41, 31},  {42, 31},
      {43, 30}, {44, 30}, {45, 29}, {46, 29}, {150, -23},  // -109 / 2 is -54, not -55
  };
  for (const auto& c : cases) EXPECT_EQ(message_text_column(c.length), c.column) << c.length;
}

TEST(MessageWindow, TextIsDrawnOnRow17AtItsCentredColumn) {
  const std::string forty_one(41, 'x'), forty_five = "A" + std::string(43, 'y') + "Z";
  const struct {
    std::string text;
    int column;
  } cases[] = {{forty_one, 31}, {"K", 51}, {forty_five, 29}};
  for (const auto& c : cases) {
    TestScreen t;
    OKNO_(c.text, "", t.con);
    EXPECT_EQ(t.text(17, c.column, static_cast<int>(c.text.size())), c.text) << c.text.size();
    EXPECT_EQ(t.text(17, c.column - 1, 1), c.column - 1 == 30 ? "\xBA" : " ") << c.text.size();
  }
  // 45 characters run over both sides of the frame.
  TestScreen t;
  OKNO_(forty_five, "", t.con);
  EXPECT_EQ(t.text(17, 30, 1), "y");
  EXPECT_EQ(t.text(17, 73, 1), "Z");
}

TEST(MessageWindow, TextLongerThanTheScreenIsCutAtBothEdges) {
  TestScreen t;
  std::string text;
  for (int i = 0; i < 150; ++i) text += static_cast<char>('a' + i % 26);
  OKNO_(text, "", t.con);
  EXPECT_EQ(t.row(17), text.substr(23, 80));
}

struct FormCase {
  const char* name;
  std::function<void(Console&)> show;
  const char* frame;
  const char* text;
};

const FormCase kForms[] = {
    {"brief", [](Console& c) { OKNO_("Brak pliku", c); }, "0/7", "W+/N"},
    {"timed 1 looks standing", [](Console& c) { OKNO_("Brak pliku", 1, c); }, "0/7", "W+/N"},
    {"timed 5", [](Console& c) { OKNO_("Brak pliku", 5, c); }, "W+/R", "R+/N"},
    {"timed 2.5", [](Console& c) { OKNO_("Brak pliku", 2.5, c); }, "W+/R", "R+/N"},
    {"timed 0", [](Console& c) { OKNO_("Brak pliku", 0, c); }, "W+/R", "RG+/N"},
    {"standing", [](Console& c) { OKNO_("Brak pliku", "", c); }, "0/7", "W+/N"},
    {"standing, any text", [](Console& c) { OKNO_("Brak pliku", "N", c); }, "0/7", "W+/N"},
};

TEST(MessageWindow, FrameTextAndClearedInsideInEachForm) {
  for (const FormCase& f : kForms) {
    TestScreen t;
    fill_screen(t);
    t.terminal.type_after(milliseconds(500), {'x'});  // ends the wait of the waiting forms
    f.show(t.con);
    // What the terminal showed while the window waited (the standing one is shown at once).
    const ScreenBuffer& s = t.terminal.presented();
    EXPECT_EQ(s.at(15, 30).ch, kDoubleTopLeft) << f.name;
    EXPECT_EQ(s.at(19, 72).ch, kDoubleBottomRight) << f.name;
    EXPECT_EQ(s.at(15, 50).ch, kDoubleHorizontal) << f.name;
    EXPECT_EQ(s.at(17, 30).ch, kDoubleVertical) << f.name;
    for (const auto& [r, c] : {std::pair{15, 30}, {19, 72}, {15, 50}, {17, 72}})
      EXPECT_EQ(attribute_name(s.at(r, c).attr), named(f.frame)) << f.name << " " << r << "," << c;
    EXPECT_EQ(s.row_text(17).substr(46, 10), "Brak pliku") << f.name;
    EXPECT_EQ(attribute_name(s.at(17, 46).attr), named(f.text)) << f.name;
    // The inside is cleared in the default colours, not the caller's.
    EXPECT_EQ(s.row_text(16).substr(31, 41), std::string(41, ' ')) << f.name;
    EXPECT_EQ(s.at(16, 40).attr, ColourSetting::kDefaultStandard) << f.name;
    EXPECT_EQ(s.at(17, 45).attr, ColourSetting::kDefaultStandard) << f.name;
    // Row 20 and the columns beside the window are not drawn on.
    EXPECT_EQ(s.row_text(20).substr(30, 43), std::string(43, 'u')) << f.name;
    EXPECT_EQ(s.row_text(17).substr(29, 1), "r") << f.name;
    EXPECT_EQ(s.row_text(17).substr(73, 1), "r") << f.name;
  }
}

TEST(MessageWindow, WaitsEndAfterTheirTimeOrAtTheFirstKeyWhichIsTaken) {
  constexpr int kNoKey = -1;
  const struct {
    const char* name;
    std::function<void(Console&)> show;
    int key_after_ms;  // two keys, 'x' then 'y', typed this long after the call
    double seconds;
    std::size_t keys_left;
  } cases[] = {
      {"brief, no key", [](Console& c) { OKNO_("a", c); }, kNoKey, 1.0, 0},
      {"brief, key", [](Console& c) { OKNO_("a", c); }, 300, 0.3, 1},
      {"timed 5, no key", [](Console& c) { OKNO_("a", 5, c); }, kNoKey, 5.0, 0},
      {"timed 5, key", [](Console& c) { OKNO_("a", 5, c); }, 2000, 2.0, 1},
      {"timed 5, key too late", [](Console& c) { OKNO_("a", 5, c); }, 6000, 5.0, 2},
      {"timed 1, no key", [](Console& c) { OKNO_("a", 1, c); }, kNoKey, 1.0, 0},
      {"timed 0.5, no key", [](Console& c) { OKNO_("a", 0.5, c); }, kNoKey, 0.5, 0},
      {"timed 0 waits for the key", [](Console& c) { OKNO_("a", 0, c); }, 100'000, 100.0, 1},
      {"timed 0, key already there", [](Console& c) { OKNO_("a", 0, c); }, 0, 0.0, 1},
      {"timed negative: no wait, no key read", [](Console& c) { OKNO_("a", -3, c); }, 0, 0.0, 2},
  };
  for (const auto& c : cases) {
    TestScreen t;
    if (c.key_after_ms != kNoKey) t.terminal.type_after(milliseconds(c.key_after_ms), {'x', 'y'});
    EXPECT_NO_THROW(c.show(t.con)) << c.name;
    EXPECT_DOUBLE_EQ(t.seconds(), c.seconds) << c.name;
    EXPECT_EQ(t.terminal.keys_left(), c.keys_left) << c.name;
    if (c.keys_left == 1) {
      EXPECT_EQ(t.con.last_key(), 'x') << c.name;
    }
  }
}

TEST(MessageWindow, EachCallShapePicksItsFormOnTheRunsConsole) {
  TestScreen t;  // installs t.con as the run's console
  OKNO_("a");
  EXPECT_DOUBLE_EQ(t.seconds(), 1.0);
  OKNO_("a", 5);
  EXPECT_DOUBLE_EQ(t.seconds(), 6.0);
  t.terminal.type({'x'});
  OKNO_("a", 0);
  EXPECT_EQ(attribute_name(t.terminal.presented().at(17, 51).attr), named("RG+/N"));
  OKNO_("a", "...");
  EXPECT_DOUBLE_EQ(t.seconds(), 6.0);
  EXPECT_EQ(t.text(17, 51, 1), "a");
  t.terminal.type({'t'});
  EXPECT_TRUE(OKNO("b ?", "N"));
  EXPECT_TRUE(OKNO("b ?", "N", "T"));
}

TEST(MessageWindow, NegativeSecondsStillShowTheWindowOnTheTerminal) {
  TestScreen t;
  OKNO_("Uwaga", -1, t.con);
  EXPECT_EQ(t.terminal.presented().row_text(17).substr(49, 5), "Uwaga");
  EXPECT_EQ(t.row(17), std::string(80, ' '));  // and takes it away again
}

TEST(MessageWindow, StandingWindowReturnsAtOnceAndStaysDrawn) {
  TestScreen t;
  fill_screen(t);
  t.terminal.type({'x'});
  const std::string colour_before = t.con.colour_string();
  EXPECT_TRUE(OKNO_("Prosze czekac ...", "", t.con));
  EXPECT_EQ(t.seconds(), 0.0);
  EXPECT_EQ(t.terminal.keys_left(), 1u);
  EXPECT_EQ(t.text(17, 43, 17), "Prosze czekac ...");
  EXPECT_EQ(t.terminal.presented().row_text(17).substr(43, 17), "Prosze czekac ...");
  EXPECT_EQ(t.con.screen().at(15, 30).ch, kDoubleTopLeft);
  EXPECT_EQ(t.row(20).substr(30, 43), std::string(43, 'u'));
  EXPECT_EQ(t.con.row(), 3);
  EXPECT_EQ(t.con.col(), 7);
  EXPECT_EQ(t.con.colour_string(), colour_before);
  // What the caller writes next is in its own colours.
  t.con.say(0, 0, "z");
  EXPECT_EQ(attribute_name(t.attr(0, 0)), "GR+/B");
}

struct Restorer {
  const char* name;
  std::function<void(TestScreen&)> run;
};

const Restorer kRestoring[] = {
    {"brief", [](TestScreen& t) { OKNO_("Brak pliku", t.con); }},
    {"timed 5", [](TestScreen& t) { OKNO_("Brak pliku", 5, t.con); }},
    {"timed 0",
     [](TestScreen& t) {
       t.terminal.type({'x'});
       OKNO_("Brak pliku", 0, t.con);
     }},
    // 70 characters run from column 17 to 86, outside the saved rectangle.
    {"long text beyond the window", [](TestScreen& t) { OKNO_(std::string(70, 'q'), 1, t.con); }},
    {"long question beyond the window",
     [](TestScreen& t) {
       t.terminal.type({'n'});
       OKNO(std::string(90, 'q'), "T", t.con);
     }},
    {"question",
     [](TestScreen& t) {
       t.terminal.type({'t'});
       OKNO("Kontynuowac ?", "N", t.con);
     }},
    {"script runs out while waiting",
     [](TestScreen& t) { EXPECT_THROW(OKNO_("Brak pliku", 0, t.con), KeyboardScriptExhausted); }},
    {"question, script runs out",
     [](TestScreen& t) { EXPECT_THROW(OKNO("Kontynuowac ?", " ", t.con), KeyboardScriptExhausted); }},
};

TEST(MessageWindow, ScreenUnderItColourAndCursorAreAsTheyWereAfterwards) {
  for (const Restorer& r : kRestoring) {
    TestScreen t;
    fill_screen(t);
    const SavedRegion before = t.con.save(0, 0, 24, 79);
    const std::string colour_before = t.con.colour_string();
    const ColourSetting colours_before = t.con.colours();

    r.run(t);

    EXPECT_TRUE(before.cells == t.con.save(0, 0, 24, 79).cells) << r.name;
    EXPECT_NE(t.terminal.presented().at(15, 30).ch, before.cells[15 * 80 + 30].ch) << r.name << ": never shown";
    EXPECT_EQ(t.con.colour_string(), colour_before) << r.name;
    EXPECT_EQ(t.con.colours().standard, colours_before.standard) << r.name;
    EXPECT_EQ(t.con.colours().enhanced, colours_before.enhanced) << r.name;
    EXPECT_EQ(t.con.row(), 3) << r.name;
    EXPECT_EQ(t.con.col(), 7) << r.name;
  }
}

TEST(MessageWindow, MessageWindowsLeaveTheCursorVisibilityAlone) {
  for (const bool visible : {false, true}) {
    TestScreen t;
    t.con.show_cursor(visible);
    OKNO_("a", t.con);
    OKNO_("a", 3, t.con);
    OKNO_("a", "", t.con);
    EXPECT_EQ(t.con.cursor_visible(), visible);
  }
}

TEST(YesNoQuestion, AnswersByLetterOrByEnterWithANonBlankDefault) {
  const struct {
    const char* name;
    const char* default_answer;
    std::vector<int> script;
    bool yes;
  } cases[] = {
      {"Enter takes T", "T", keys({key::kEnter}), true},
      {"Enter takes N", "N", keys({key::kEnter}), false},
      {"Enter ignored with a blank default", " ", keys({key::kEnter, key::kEnter, "t"}), true},
      {"Enter ignored with an empty default", "", keys({key::kEnter, "n"}), false},
      {"T over default N", "N", keys({"T"}), true},
      {"N over default T", "T", keys({"N"}), false},
      {"lower-case t", "N", keys({"t"}), true},
      {"lower-case n", "T", keys({"n"}), false},
      {"odd keys ignored", "N",
       keys({"x", "Y", "1", " ", key::kEsc, key::F(2), key::kUp, key::kCtrlEnter, 300, -50, "t"}), true},
      {"Enter takes a lower-case default", "t", keys({key::kEnter}), true},
  };
  for (const auto& c : cases) {
    TestScreen t;
    t.terminal.type(c.script);
    EXPECT_EQ(OKNO("Kontynuowac ?", c.default_answer, t.con), c.yes) << c.name;
    EXPECT_EQ(t.terminal.keys_left(), 0u) << c.name;
  }
}

TEST(YesNoQuestion, QuestionAnswerBoxAndDefaultAsDrawn) {
  TestScreen t;
  fill_screen(t);
  t.terminal.type({'n'});
  OKNO("Usunac plik ?", "T", t.con);
  const ScreenBuffer& s = t.terminal.presented();
  // The window with the question centred on row 17: 13 characters start at 45.
  EXPECT_EQ(s.at(15, 30).ch, kDoubleTopLeft);
  EXPECT_EQ(attribute_name(s.at(15, 30).attr), named("0/7"));
  EXPECT_EQ(s.row_text(17).substr(45, 13), "Usunac plik ?");
  EXPECT_EQ(attribute_name(s.at(17, 45).attr), "W+/N");
  // The answer box over the window's bottom line, in the default colours.
  EXPECT_EQ(s.at(18, 37).ch, kSingleTopLeft);
  EXPECT_EQ(s.at(20, 65).ch, kSingleBottomRight);
  EXPECT_EQ(s.at(18, 37).attr, ColourSetting::kDefaultStandard);
  EXPECT_EQ(s.at(19, 36).ch, kDoubleHorizontal);
  EXPECT_EQ(s.row_text(19).substr(38, 16), "      [T/N]  ? T");
  EXPECT_EQ(s.at(19, 40).attr, ColourSetting::kDefaultStandard);
  EXPECT_EQ(attribute_name(s.at(19, 53).attr), "W+/R");
  EXPECT_EQ(s.row_text(19).substr(54, 11), std::string(11, ' '));
  EXPECT_EQ(s.row_text(20).substr(30, 7), std::string(7, 'u'));  // row 20 outside the box untouched
  // The cursor waits, visible, on the default answer.
  EXPECT_TRUE(s.cursor_visible());
  EXPECT_EQ(s.cursor_row(), 19);
  EXPECT_EQ(s.cursor_col(), 53);
  // Afterwards the cursor is back where it was and stays on.
  EXPECT_TRUE(t.con.cursor_visible());
  EXPECT_EQ(t.con.row(), 3);
  EXPECT_EQ(t.con.col(), 7);
}

TEST(YesNoQuestion, DefaultIsBlackOnWhiteOnAMonochromeScreen) {
  TestScreen t;
  t.terminal.set_colour(false);
  t.terminal.type({'t'});
  OKNO("Kontynuowac ?", "N", t.con);
  EXPECT_EQ(t.terminal.presented().row_text(19).substr(53, 1), "N");
  EXPECT_EQ(attribute_name(t.terminal.presented().at(19, 53).attr), "N/W");
}

TEST(YesNoQuestion, ForceBeginningWithTAnswersYesWithoutShowingOrReading) {
  for (const char* force : {"T", "TAK"}) {
    TestScreen t;
    fill_screen(t);
    t.terminal.type({'n'});
    const SavedRegion before = t.con.save(0, 0, 24, 79);
    const int presents = t.terminal.present_count();
    EXPECT_TRUE(OKNO("Kontynuowac ?", "N", force, t.con)) << force;
    EXPECT_TRUE(before.cells == t.con.save(0, 0, 24, 79).cells) << force;
    EXPECT_EQ(t.terminal.present_count(), presents) << force;
    EXPECT_EQ(t.terminal.keys_left(), 1u) << force;
    EXPECT_FALSE(t.con.cursor_visible()) << force;
  }
}

TEST(YesNoQuestion, AnyOtherForceAsksTheQuestion) {
  for (const char* force : {"N", "", "t", " T"}) {
    TestScreen t;
    t.terminal.type({'n'});
    EXPECT_FALSE(OKNO("Kontynuowac ?", "T", force, t.con)) << force;
    EXPECT_EQ(t.terminal.keys_left(), 0u) << force;
    EXPECT_EQ(t.terminal.presented().row_text(17).substr(45, 13), "Kontynuowac ?") << force;
  }
}

}  // namespace
}  // namespace intra
