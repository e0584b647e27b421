#include "screen/form.h"

#include <gtest/gtest.h>

#include "key_script.h"
#include "screen/key_codes.h"
#include "test_screen.h"

namespace intra {
namespace {

using testing::keys;
using testing::TestScreen;

constexpr int kCtrlT = 20;
constexpr int kCtrlU = 21;

class FormTest : public ::testing::Test {
 protected:
  FormTest() { set_form_insert_mode(true); }
  ~FormTest() override { set_form_insert_mode(true); }

  Form form() { return Form(t.con, vars); }
  void type(const std::vector<int>& script) { t.terminal.type(script); }
  // Records what the screen shows in the middle of a read: bound to Alt+K,
  // it runs when the script presses that key.
  template <typename F>
  void on_alt_k(F probe) {
    t.con.bind_hot_key(key::kAltK, probe);
  }

  TestScreen t;
  PublicVariables vars;
};

// One field, a script of keys ending the read, the value the variable ends with.
TEST_F(FormTest, EditsOneFieldThroughItsPicture) {
  const struct {
    const char* name;
    Value initial;
    const char* picture;
    std::vector<int> script;
    Value result;
  } cases[] = {
      {"insert shifts the rest right", Value("abc  "), "", keys({"xy", key::kEnter}), Value("xyabc")},
      {"insert drops the last", Value("abcde"), "", keys({"x", key::kEnter}), Value("xabcd")},
      {"Ins toggles to overwrite", Value("abc  "), "", keys({key::kIns, "xy", key::kEnter}), Value("xyc  ")},
      {"! upper-cases", Value::blanks(5), "!!!!!", keys({"ab\xA5", key::kEnter}), Value("AB\xA4  ")},
      {"@! upper-cases", Value("abc"), "@!", keys({"d", key::kEnter}), Value("DAB")},
      {"9 refuses letters", Value::blanks(3), "999", keys({"1a2", key::kEnter}), Value("12 ")},
      {"fixed characters stored", Value::blanks(6), "99-999", keys({"12345", key::kEnter}), Value("12-345")},
      {"@R drops fixed characters", Value::blanks(5), "@R 99-999", keys({"12345", key::kEnter}), Value("12345")},
      {"@K clears on a character", Value("hello"), "@K", keys({"x", key::kEnter}), Value("x    ")},
      {"@K not after a cursor key", Value("hello"), "@K", keys({key::kRight, "x", key::kEnter}), Value("hxell")},
      {"past the end is dropped", Value("  "), "XX", keys({"abc", key::kBackspace, "z", key::kEnter}), Value("az")},
      {"short picture keeps the tail", Value("abcdef"), "XXX", keys({"z", key::kEnter}), Value("zabdef")},
      {"End goes after the text", Value("ab   "), "", keys({key::kEnd, "c", key::kEnter}), Value("abc  ")},
      {"Home after End", Value("ab   "), "", keys({key::kEnd, key::kHome, "c", key::kEnter}), Value("cab  ")},
      {"Backspace deletes left", Value("abc"), "", keys({key::kRight, key::kBackspace, key::kEnter}), Value("bc ")},
      {"Del deletes under the cursor", Value("abc"), "", keys({key::kDel, key::kEnter}), Value("bc ")},
      {"Ctrl+Y clears to the end", Value("abcdef"), "", keys({key::kRight, key::kRight, key::kCtrlY, key::kEnter}),
       Value("ab    ")},
      {"Ctrl+T deletes a word", Value("one two three"), "", keys({kCtrlT, key::kEnter}), Value("two three    ")},
      {"Ctrl+Right to the next word", Value("aa bb cc"), "",
       keys({key::kCtrlRight, key::kCtrlRight, "x", key::kEnter}), Value("aa bb xc")},
      {"Ctrl+Left to the word before", Value("aa bb cc"), "",
       keys({key::kEnd, key::kCtrlLeft, key::kCtrlLeft, "x", key::kEnter}), Value("aa xbb c")},
      {"Ctrl+U undoes the field", Value("abc"), "", keys({"xy", kCtrlU, key::kEnter}), Value("abc")},
      {"odd keys are ignored", Value("abc"), "",
       keys({key::F(2), 300, -50, 127, 31, key::kAltK, key::kCtrlN, 10, "x", key::kEnter}), Value("xab")},
      {"digit first clears a number", Value(5), "999.99", keys({"12", key::kEnter}), Value(12)},
      {"point moves to the decimals", Value(0), "999.99", keys({"1.5", key::kEnter}), Value(1.5)},
      {"leading point", Value(7), "999.99", keys({".25", key::kEnter}), Value(0.25)},
      {"minus sign", Value(0), "999", keys({"-3", key::kEnter}), Value(-3)},
      {"cursor key first keeps the number", Value(123), "999", keys({key::kRight, "9", key::kEnter}), Value(192)},
      {"number without picture", Value(42), "", keys({"7", key::kEnter}), Value(7)},
      {"date typed over", Value(Date::from_ymd(2026, 12, 11)), "",
       keys({key::kCtrlY, "01022025", key::kEnter}), Value(Date::from_ymd(2025, 2, 1))},
      {"date emptied", Value(Date::from_ymd(2026, 12, 11)), "", keys({key::kCtrlY, key::kEnter}), Value(Date())},
      {"logical T", Value(false), "", keys({"t", key::kEnter}), Value(true)},
      {"logical Y picture", Value(false), "Y", keys({"y", key::kEnter}), Value(true)},
      {"logical N", Value(true), "", keys({"n", key::kEnter}), Value(false)},
      {"logical refuses others", Value(true), "", keys({"x", key::kEnter}), Value(true)},
  };
  for (const auto& c : cases) {
    set_form_insert_mode(true);
    vars.set("M_X", c.initial);
    Form f = form();
    f.get(3, 10, "M_X", c.picture);
    type(c.script);
    EXPECT_EQ(f.read(), key::kEnter) << c.name;
    EXPECT_EQ(vars.get("M_X"), c.result) << c.name;
    EXPECT_EQ(t.terminal.keys_left(), 0u) << c.name;
  }
}

TEST_F(FormTest, FieldsShowTheirValuesAtOnceAndAreSelectedOnlyWhileEdited) {
  t.con.set_colour("W/B,N/W,,,W+/B");
  const ColourSetting& colours = t.con.colours();
  vars.set("M_KODB", "00-950");
  vars.set("M_MM", 3);
  Form f = form();
  f.say_get(10, 0, "      kod, miasto", "M_KODB", "99-999");
  f.say_get(4, 0, "mm:", "M_MM", "99");
  EXPECT_EQ(t.text(10, 0, 24), "      kod, miasto 00-950");
  EXPECT_EQ(t.text(4, 0, 6), "mm:  3");
  EXPECT_EQ(t.attr(10, 18), colours.unselected);
  EXPECT_EQ(t.attr(10, 0), colours.standard);

  bool cursor_shown = false;
  Attribute first_field = 0, second_field = 0;
  int cursor_row = -1, cursor_col = -1;
  on_alt_k([&] {
    cursor_shown = t.con.cursor_visible();
    first_field = t.attr(10, 18);
    second_field = t.attr(4, 4);
    cursor_row = t.con.row();
    cursor_col = t.con.col();
  });
  t.con.show_cursor(false);
  type(keys({key::kCtrlY, "12", key::kAltK, "345", key::kEnter, key::kEnter}));
  f.read();
  EXPECT_TRUE(cursor_shown);
  EXPECT_EQ(first_field, colours.enhanced);
  EXPECT_EQ(second_field, colours.unselected);
  EXPECT_EQ(cursor_row, 10);
  EXPECT_EQ(cursor_col, 21);  // after "12" the cursor skips the dash
  EXPECT_FALSE(t.con.cursor_visible());
  EXPECT_EQ(t.attr(10, 18), colours.unselected);
  EXPECT_EQ(t.attr(4, 4), colours.unselected);
  EXPECT_EQ(t.text(10, 18, 6), "12-345");
  EXPECT_EQ(vars.text("M_KODB"), "12-345");
  EXPECT_EQ(f.size(), 0u);
}

TEST_F(FormTest, CursorKeysMoveBetweenFieldsAndEnterOnTheLastEnds) {
  const struct {
    const char* name;
    std::vector<int> script;
    const char* a;
    const char* b;
    const char* c;
  } cases[] = {
      {"Enter through all", keys({"1", key::kEnter, "2", key::kEnter, "3", key::kEnter}), "1", "2", "3"},
      {"Down and Tab", keys({key::kDown, key::kTab, "3", key::kEnter}), " ", " ", "3"},
      {"Up goes back", keys({key::kDown, key::kUp, "1", key::kEnter, key::kEnter, key::kEnter}), "1", " ", " "},
      {"Shift+Tab goes back", keys({key::kTab, key::kTab, key::kShiftTab, "2", key::kPgDn}), " ", "2", " "},
      {"Up on the first stays", keys({key::kUp, "1", key::kPgDn}), "1", " ", " "},
      {"Down on the last stays", keys({key::kDown, key::kDown, key::kDown, "3", key::kEnter}), " ", " ", "3"},
      {"Ctrl+Home to the first", keys({key::kDown, key::kDown, key::kCtrlHome, "1", key::kPgUp}), "1", " ", " "},
      {"Ctrl+W ends", keys({"1", key::kCtrlW}), "1", " ", " "},
  };
  for (const auto& c : cases) {
    for (const char* name : {"M_A", "M_B", "M_C"}) vars.set(name, " ");
    Form f = form();
    f.get(1, 0, "M_A").get(2, 0, "M_B").get(3, 0, "M_C");
    type(c.script);
    f.read();
    EXPECT_EQ(vars.text("M_A"), c.a) << c.name;
    EXPECT_EQ(vars.text("M_B"), c.b) << c.name;
    EXPECT_EQ(vars.text("M_C"), c.c) << c.name;
    EXPECT_EQ(t.terminal.keys_left(), 0u) << c.name;
    EXPECT_EQ(t.con.last_key(), c.script.back()) << c.name;
  }
}

TEST_F(FormTest, TypingPastTheEndStaysInTheField) {
  vars.set("M_TYP", "P");
  vars.set("M_RODZAJ", "D");
  Form f = form();
  f.get(2, 53, "M_TYP", "!").get(5, 53, "M_RODZAJ", "!");
  type(keys({"wz", key::kEnter, key::kEnter}));
  f.read();
  EXPECT_EQ(vars.text("M_TYP"), "W");
  EXPECT_EQ(vars.text("M_RODZAJ"), "D");
}

TEST_F(FormTest, EscAbandonsTheFieldButKeepsFieldsAlreadyLeft) {
  vars.set("M_A", "aaa");
  vars.set("M_B", "bbb");
  int checks = 0;
  Form f = form();
  f.get(1, 0, "M_A").get(2, 0, "M_B", "", [&] { return ++checks, true; });
  type(keys({"x", key::kEnter, "y", key::kEsc}));
  EXPECT_EQ(f.read(), key::kEsc);
  EXPECT_EQ(t.con.last_key(), key::kEsc);
  EXPECT_EQ(vars.text("M_A"), "xaa");
  EXPECT_EQ(vars.text("M_B"), "bbb");
  EXPECT_EQ(t.text(2, 0, 3), "bbb");  // the dropped edit is not left on the screen
  EXPECT_EQ(checks, 0);
  EXPECT_EQ(f.size(), 0u);
}

TEST_F(FormTest, FalseConditionKeepsTheCursorInTheFieldUntilFixed) {
  vars.set("M_MM", 4);
  vars.set("M_TYP", "P");
  std::vector<double> seen;  // what the condition found in the variable
  Form f = form();
  f.say_get(4, 0, "mm:", "M_MM", "99", [&] {
    seen.push_back(vars.number("M_MM"));
    return vars.number("M_MM") >= 1 && vars.number("M_MM") <= 12;
  });
  f.get(2, 53, "M_TYP", "!", [&] { return vars.text("M_TYP") == "P" || vars.text("M_TYP") == "W"; });
  type(keys({"13", key::kEnter, "5", key::kEnter, "x", key::kEnter, "w", key::kEnter}));
  f.read();
  EXPECT_EQ(seen, (std::vector<double>{13, 5}));  // tested after the value was assigned
  EXPECT_EQ(vars.get("M_MM"), Value(5));
  EXPECT_EQ(vars.text("M_TYP"), "W");
  EXPECT_EQ(t.text(4, 4, 2), " 5");
}

TEST_F(FormTest, InvalidDateKeepsTheCursorButAnEmptyDateIsAllowed) {
  vars.set("M_D", Date::from_ymd(2026, 1, 15));
  vars.set("M_T", " ");
  Form f = form();
  f.get(1, 0, "M_D").get(2, 0, "M_T");
  type(keys({key::kCtrlY, "31022025", key::kEnter, "x", key::kHome, key::kCtrlY, key::kEnter, "t", key::kEnter}));
  f.read();
  EXPECT_EQ(vars.get("M_D"), Value(Date()));
  EXPECT_EQ(vars.text("M_T"), "t");
}

TEST_F(FormTest, NumbersAreShownRightAlignedWithThePicturesDecimals) {
  vars.set("M_WARTOSC", 5);
  Form f = form();
  f.get(6, 10, "M_WARTOSC", "9,999.99");
  EXPECT_EQ(t.text(6, 10, 8), "    5.00");
  std::string while_typing;
  on_alt_k([&] { while_typing = t.text(6, 10, 8); });
  type(keys({"1234.5", key::kAltK, key::kEnter}));
  f.read();
  EXPECT_EQ(while_typing, "1 234.5 ");  // the separator comes back once the value is formatted
  EXPECT_EQ(t.text(6, 10, 8), "1,234.50");
  EXPECT_EQ(vars.get("M_WARTOSC"), Value(1234.5));
}

TEST_F(FormTest, ScrollingFieldShowsItsWindowAroundTheCursor) {
  vars.set("E_MAIL", std::string("abcdefghijklmnopqrst"));
  t.con.say(3, 15, "|");
  Form f = form();
  f.get(3, 10, "E_MAIL", "@S5");
  EXPECT_EQ(t.text(3, 10, 6), "abcde|");
  std::vector<std::string> windows;
  std::vector<int> cursor_cols;
  on_alt_k([&] {
    windows.push_back(t.text(3, 10, 6));
    cursor_cols.push_back(t.con.col());
  });
  type(keys({key::kEnd, key::kAltK, key::kHome, key::kAltK, key::kRight, key::kRight, key::kRight, key::kRight,
              key::kRight, key::kAltK, key::kEnter}));
  f.read();
  EXPECT_EQ(windows, (std::vector<std::string>{"pqrst|", "abcde|", "bcdef|"}));
  EXPECT_EQ(cursor_cols, (std::vector<int>{14, 10, 14}));
  EXPECT_EQ(t.text(3, 10, 6), "abcde|");
  EXPECT_EQ(vars.text("E_MAIL"), "abcdefghijklmnopqrst");
}

TEST_F(FormTest, HotKeyRunsInsideTheFormAndTheFieldGoesOn) {
  vars.set("M_X", "     ");
  int runs = 0;
  on_alt_k([&] {
    ++runs;
    t.con.show_cursor(false);
    t.con.set_pos(20, 70);
    vars.set("M_CALC", 1);
  });
  Form f = form();
  f.get(3, 10, "M_X");
  bool visible_after = false;
  int col_after = -1;
  t.con.bind_hot_key(key::AltF(1), [&] {
    visible_after = t.con.cursor_visible();
    col_after = t.con.col();
  });
  type(keys({"ab", key::kAltK, "c", key::AltF(1), key::kEnter}));
  f.read();
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(visible_after);
  EXPECT_EQ(col_after, 13);
  EXPECT_EQ(vars.text("M_X"), "abc  ");
}

TEST_F(FormTest, HotKeyKnowsTheFieldAndAnAssignmentToItsVariableChangesTheField) {
  vars.set("M_A", 1);
  vars.set("M_B", 12.5);
  std::vector<std::string> seen;
  on_alt_k([&] {
    seen.push_back(form_editing_variable());
    if (form_editing_variable() == "M_B") vars.set("M_B", 13.5);
  });
  Form f = form();
  f.get(3, 10, "M_A", "99").get(4, 10, "M_B", "999.99");
  type(keys({key::kAltK, key::kEnter, "9", key::kAltK, key::kEnter}));
  f.read();
  EXPECT_EQ(seen, (std::vector<std::string>{"M_A", "M_B"}));
  EXPECT_EQ(t.row(4).substr(10, 6), " 13.50");  // the typed 9 gave way to the new value
  EXPECT_DOUBLE_EQ(vars.number("M_B"), 13.5);
  EXPECT_EQ(form_editing_variable(), "");
}

TEST_F(FormTest, OddFieldsAndOddKeysNeitherCrashNorHang) {
  vars.set("M_EMPTY", "");
  vars.set("M_LIST", Value(ValueList{Value(1)}));
  vars.set("M_EDGE", std::string(30, 'e'));
  vars.set("M_BIG", 1e300);
  Form f = form();
  f.get(1, 0, "M_EMPTY").get(2, 0, "M_LIST").get(3, 0, "M_UNKNOWN").get(24, 70, "M_EDGE").get(30, -5, "M_BIG", "99");
  std::vector<int> script;
  for (int k = -60; k < 420; ++k)
    if (k != key::kEsc && k != key::kEnter && k != key::kPgUp && k != key::kPgDn && k != key::kCtrlW &&
        k != key::kUp && k != key::kShiftTab && k != key::kCtrlHome && k != key::kTab && k != key::kDown)
      script.push_back(k);  // every other key, in every field
  for (int field = 0; field < 5; ++field) {
    type(script);
    type({key::kEnter});
  }
  EXPECT_EQ(f.read(), key::kEnter);
  EXPECT_EQ(vars.get("M_LIST").list().size(), 1u);
  EXPECT_TRUE(vars.get("M_UNKNOWN").is_logical());
  EXPECT_EQ(t.text(24, 70, 10), vars.text("M_EDGE").substr(0, 10));  // clipped at the screen's edge
}

TEST_F(FormTest, ReadEmptiesTheFieldListAndClearDiscardsIt) {
  vars.set("M_X", "a");
  Form f = form();
  EXPECT_EQ(f.size(), 0u);
  t.con.set_last_key(key::kEsc);
  EXPECT_EQ(f.read(), key::kEsc);  // nothing to read: at once
  f.get(1, 0, "M_X").get(2, 0, "M_X");
  EXPECT_EQ(f.size(), 2u);
  f.clear();
  EXPECT_EQ(f.size(), 0u);
  f.get(1, 0, "M_X");
  type(keys({key::kEnter}));
  f.read();
  EXPECT_EQ(f.size(), 0u);
  EXPECT_EQ(f.read(), key::kEnter);  // nothing pending, no key taken
}

TEST_F(FormTest, InsertModeCarriesOverToTheNextForm) {
  vars.set("M_X", "abc");
  type(keys({key::kIns, key::kEnter}));
  form().get(1, 0, "M_X").read();
  EXPECT_FALSE(form_insert_mode());
  type(keys({"x", key::kEnter}));
  form().get(1, 0, "M_X").read();
  EXPECT_EQ(vars.text("M_X"), "xbc");
}

TEST_F(FormTest, NothingIsWrittenOnRowZeroAndAnExhaustedScriptLeavesNoMess) {
  vars.set("M_X", "abc");
  t.con.say(0, 0, std::string(80, '.'));
  Form f = form();
  f.get(5, 0, "M_X");
  type(keys({key::kIns, "x"}));
  EXPECT_THROW(f.read(), KeyboardScriptExhausted);
  EXPECT_EQ(t.row(0), std::string(80, '.'));
  EXPECT_EQ(f.size(), 0u);
  EXPECT_FALSE(t.con.cursor_visible());
}

}  // namespace
}  // namespace intra
