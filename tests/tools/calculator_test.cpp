#include "tools/calculator.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "../screen/key_script.h"
#include "calculator_screen.h"
#include "main/public_variables.h"
#include "screen/form.h"
#include "screen/key_codes.h"

namespace intra {
namespace {

using testing::CalculatorScreen;
using testing::keys;
using Tape = std::vector<std::string>;

const std::string kRule(19, '-');

Attribute attr_of(const char* pair) {
  Attribute a{};
  ColourSetting::parse_pair(pair, a);
  return a;
}

struct ScriptCase {
  const char* name;
  std::vector<int> script;
  std::string entry;  // the entry line while the calculator waits for the closing Esc
  Tape tape;          // the tape then, from the top
};

class Script : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(Script, ShowsTheEntryLineAndTape) {
  CalculatorScreen s;
  s.script(GetParam().script);
  EXPECT_TRUE(KALKULATOR());
  const ScreenBuffer& seen = s.before_closing();
  EXPECT_EQ(CalculatorScreen::entry(seen), GetParam().entry);
  EXPECT_EQ(CalculatorScreen::tape(seen), GetParam().tape);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, Script,
    ::testing::Values(
        ScriptCase{"Sum", keys({"1234+566="}), "1 800", {"", "1 234", "+", "566", kRule}},
        ScriptCase{"Quotient", keys({"10/4="}), "2.5", {"", "10", "/", "4", kRule}},
        ScriptCase{"Third", keys({"1/3="}), "0.333 333", {"", "1", "/", "3", kRule}},
        ScriptCase{"ByZeroNothing", keys({"5/0="}), "0", {"", "5", "/"}},
        ScriptCase{"ByZeroPointGivesNought", keys({"5/0.="}), "0", {"", "5", "/", "0.", kRule}},
        ScriptCase{"NegativeFirst", keys({"-5+3="}), "-2", {"-", "-5", "+", "3", kRule}},
        ScriptCase{"PlusTakesTheSignBack", keys({"-+5+3="}), "8", {"", "5", "+", "3", kRule}},
        ScriptCase{"Product", keys({"2*3="}), "6", {"", "2", "*", "3", kRule}},
        ScriptCase{"Difference", keys({"7-9="}), "-2", {"", "7", "-", "9", kRule}},
        ScriptCase{"EnterGivesTheResult", keys({"7-9", key::kEnter}), "-2", {"", "7", "-", "9", kRule}},
        ScriptCase{"Chain", keys({"2+3+4="}), "9", {"", "2", "+", "3", kRule, "5", "+", "4", kRule}},
        ScriptCase{"CommaIsThePoint", keys({"12,5+1="}), "13.5", {"", "12.5", "+", "1", kRule}},
        ScriptCase{"SixteenthDigitRefused", keys({"1234567890123456"}), "123 456 789 012 345", {""}},
        ScriptCase{"SecondPointRefused", keys({"1.2.3"}), "1.23", {""}},
        ScriptCase{"BackspaceOnSeven", keys({"7", key::kBackspace}), "0", {""}},
        ScriptCase{"NoughtOnZero", keys({"000"}), "0", {""}},
        ScriptCase{"ClosedSumOnTape", keys({"1+1=5"}), "0", {"", "1", "+", "1", kRule, "2", ""}},
        ScriptCase{"OperatorCarriesTheResultOn", keys({"1+1=*3="}), "6",
                   {"", "1", "+", "1", "------------------*", "3", kRule}},
        ScriptCase{"OperatorAfterClosedSum", keys({"1+1=5-1="}), "1",
                   {"", "1", "+", "1", kRule, "2", "", "2", "-", "1", kRule}},
        ScriptCase{"EqualsWithoutSecondNumber", keys({"5==", key::kEnter, "+="}), "0", {"", "5", "+"}},
        ScriptCase{"Clear", keys({"12+3c"}), "0", {""}},
        ScriptCase{"OddKeysIgnored", keys({"1x", key::kUp, key::F(2), key::kAltK, key::kDel, "2"}), "12", {""}},
        ScriptCase{"Overflow", keys({"99999999*99999999="}), "*** *** *** *** ***",
                   {"", "99 999 999", "*", "99 999 999", kRule}},
        ScriptCase{"OverflowTakesNoOperator", keys({"99999999*99999999=+5="}), "*** *** *** *** ***",
                   {"", "99 999 999", "*", "99 999 999", kRule}},
        ScriptCase{"OverflowTakesNoDigits", keys({"99999999*99999999=5+1="}), "0",
                   {"", "99 999 999", "*", "99 999 999", kRule, "*** *** *** *** ***", ""}},
        ScriptCase{"ClearAfterOverflow", keys({"99999999*99999999=c2+2="}), "4", {"", "2", "+", "2", kRule}}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

TEST(Calculator, DrawsItsFrameEntryLineAndLabelInItsColours) {
  CalculatorScreen s;
  s.script({});
  KALKULATOR();
  const ScreenBuffer& seen = s.before_closing();
  const int x = CalculatorScreen::x();
  EXPECT_EQ(seen.row_text(24).substr(x, 19), "+ - * /  KALKULATOR");
  EXPECT_EQ(seen.at(24, x).attr, attr_of("N/B"));
  EXPECT_EQ(seen.at(23, x - 1).attr, attr_of("B/B"));
  EXPECT_EQ(seen.at(22, x + 19).attr, attr_of("B/B"));
  EXPECT_EQ(seen.at(23, x).attr, attr_of("W+/RB"));
  EXPECT_EQ(seen.at(23, x + 18).attr, attr_of("W+/RB"));
  EXPECT_EQ(seen.at(22, x).attr, attr_of("N/W"));
  EXPECT_EQ(seen.row_text(23).substr(x, 19), std::string(18, ' ') + "0");
  EXPECT_FALSE(seen.cursor_visible());
}

TEST(Calculator, UsesGreenOnAMonochromeScreen) {
  CalculatorScreen s;
  s.terminal.set_colour(false);
  s.script({});
  KALKULATOR();
  const ScreenBuffer& seen = s.before_closing();
  const int x = CalculatorScreen::x();
  EXPECT_EQ(seen.at(23, x - 1).attr, attr_of("G/G"));
  EXPECT_EQ(seen.at(24, x).attr, attr_of("N/G"));
}

TEST(Calculator, TheTapeStopsGrowingAtTheTopRow) {
  CalculatorScreen s;
  std::vector<int> script;
  for (int i = 0; i < 20; ++i) script.insert(script.end(), {'1', '+'});
  s.script(script);
  KALKULATOR();
  const ScreenBuffer& seen = s.before_closing();
  const Tape tape = CalculatorScreen::tape(seen);
  ASSERT_EQ(tape.size(), 23u);  // rows 0 to 22
  EXPECT_EQ(tape.back(), "+");
  EXPECT_EQ(CalculatorScreen::entry(seen), "0");
  EXPECT_EQ(tape[tape.size() - 2], "20");  // the running total before the last "+"
}

TEST(Calculator, EscPutsTheScreenColourAndCursorBack) {
  CalculatorScreen s;
  s.con.say(23, 10, "behind the calculator");
  s.con.set_colour("GR+/B");
  s.con.set_pos(5, 7);
  s.con.show_cursor(false);
  const SavedRegion before = s.con.save(0, 0, 24, 79);
  s.script(keys({"12+3=", key::kRight, key::kRight}));
  KALKULATOR();
  const SavedRegion after = s.con.save(0, 0, 24, 79);
  EXPECT_EQ(after.cells, before.cells);
  EXPECT_EQ(s.con.colour_string(), "GR+/B");
  EXPECT_EQ(s.con.row(), 5);
  EXPECT_EQ(s.con.col(), 7);
  EXPECT_TRUE(s.con.cursor_visible());
}

TEST(Calculator, DiscardsKeysTypedAheadAndLeftOver) {
  CalculatorScreen s;
  s.terminal.keys().type_text("99");
  s.script(keys({"5"}), false);
  s.terminal.keys().type_after(CalculatorScreen::kClosing, {key::kEsc, '7', '7'});
  KALKULATOR();
  EXPECT_EQ(CalculatorScreen::entry(s.before_closing()), "5");
  EXPECT_EQ(s.con.next_key(), 0);
}

TEST(Calculator, MemoryStoresTheResultAndTypesItBack) {
  CalculatorScreen s;
  s.script(keys({"1+1=m"}));
  KALKULATOR();
  EXPECT_EQ(calc::trimmed(calculator_memory().M_KALK), "2");

  CalculatorScreen again;
  calculator_memory().M_KALK = calc::right_aligned("2");
  again.script(keys({"5+n="}));
  KALKULATOR();
  EXPECT_EQ(CalculatorScreen::entry(again.before_closing()), "7");
  EXPECT_EQ(calculator_memory().M_KALK, "");
}

TEST(Calculator, MemoryTakesTheSecondNumberWhileItIsTyped) {
  CalculatorScreen s;
  s.script(keys({"5+12M"}));
  KALKULATOR();
  EXPECT_EQ(calc::trimmed(calculator_memory().M_KALK), "12");
}

TEST(Calculator, EmptyMemoryTypesNothing) {
  CalculatorScreen s;
  s.script(keys({"5+n"}));
  KALKULATOR();
  EXPECT_EQ(CalculatorScreen::entry(s.before_closing()), "0");
  EXPECT_EQ(CalculatorScreen::tape(s.before_closing()), (Tape{"", "5", "+"}));
}

TEST(Calculator, AnOverflowIsNeverStoredInMemory) {
  CalculatorScreen s;
  s.script(keys({"99999999*99999999=m"}));
  KALKULATOR();
  EXPECT_EQ(calculator_memory().M_KALK, "");
}

struct MoveCase {
  int start;
  int key;
  int after;
};

class Moving : public ::testing::TestWithParam<MoveCase> {};

TEST_P(Moving, CarriesTheWindowWithinColumnsOneToSixty) {
  CalculatorScreen s;
  calculator_memory().LX_KALK = GetParam().start;
  s.script(keys({"12+", GetParam().key}));
  KALKULATOR();
  EXPECT_EQ(calculator_memory().LX_KALK, GetParam().after);
  const ScreenBuffer& seen = s.before_closing();
  EXPECT_EQ(CalculatorScreen::entry(seen), "0");
  EXPECT_EQ(CalculatorScreen::tape(seen), (Tape{"", "12", "+"}));
  EXPECT_EQ(seen.row_text(24).substr(GetParam().after, 19), "+ - * /  KALKULATOR");
}

INSTANTIATE_TEST_SUITE_P(Keys, Moving,
                         ::testing::Values(MoveCase{1, key::kLeft, 1}, MoveCase{60, key::kRight, 60},
                                           MoveCase{30, key::kLeft, 29}, MoveCase{30, key::kRight, 31},
                                           MoveCase{2, key::kLeft, 1}, MoveCase{59, key::kRight, 60}));

TEST(Calculator, MovingRestoresTheScreenBehindTheWindow) {
  CalculatorScreen s;
  s.con.say(22, 0, std::string(80, '#'));
  s.con.say(23, 0, std::string(80, '#'));
  calculator_memory().LX_KALK = 30;
  s.script(keys({key::kRight, key::kRight}));
  KALKULATOR();
  const ScreenBuffer& seen = s.before_closing();
  EXPECT_EQ(seen.row_text(23).substr(29, 2), "##");
  EXPECT_EQ(seen.at(23, 29).attr, ColourSetting::kDefaultStandard);
  EXPECT_EQ(seen.at(23, 31).attr, attr_of("B/B"));
  EXPECT_EQ(seen.row_text(23).substr(32, 19), std::string(18, ' ') + "0");
  EXPECT_EQ(seen.row_text(23).substr(52, 28), std::string(28, '#'));
}

TEST(Calculator, StartsFromANumericFieldAndWritesTheResultBack) {
  CalculatorScreen s;
  publics().set("M_KALK_POLE", 12.5);
  set_editing_field_query([] { return std::string("M_KALK_POLE"); });
  s.script(keys({"+1="}), false);
  s.terminal.keys().type_after(CalculatorScreen::kClosing / 2, {key::kEsc});  // while the result stands
  KALKULATOR();
  ASSERT_GE(s.terminal.frames().size(), 2u);
  EXPECT_EQ(CalculatorScreen::entry(s.terminal.frames().front().screen), "12.50");
  EXPECT_EQ(CalculatorScreen::entry(s.seen_before(CalculatorScreen::kClosing / 2)), "13.5");
  EXPECT_DOUBLE_EQ(publics().number("M_KALK_POLE"), 13.5);
}

TEST(Calculator, WritesBackTheSecondNumberWhileItIsTyped) {
  CalculatorScreen s;
  publics().set("M_KALK_POLE", 12.5);
  set_editing_field_query([] { return std::string("M_KALK_POLE"); });
  s.script(keys({"+4"}));
  KALKULATOR();
  EXPECT_DOUBLE_EQ(publics().number("M_KALK_POLE"), 4);
}

TEST(Calculator, OpeningAndClosingKeepsAFieldsDecimals) {
  CalculatorScreen s;
  publics().set("M_KALK_POLE", 0.125);
  set_editing_field_query([] { return std::string("M_KALK_POLE"); });
  s.script({});
  KALKULATOR();
  EXPECT_DOUBLE_EQ(publics().number("M_KALK_POLE"), 0.125);
}

TEST(Calculator, LeavesTextFieldsAndOverflowsAlone) {
  {
    CalculatorScreen s;
    publics().set("M_KALK_POLE", "tekst");
    set_editing_field_query([] { return std::string("M_KALK_POLE"); });
    s.script(keys({"5"}));
    KALKULATOR();
    EXPECT_EQ(publics().text("M_KALK_POLE"), "tekst");
  }
  {
    CalculatorScreen s;
    publics().set("M_KALK_POLE", 3.0);
    set_editing_field_query([] { return std::string("M_KALK_POLE"); });
    s.script(keys({"c99999999*99999999="}));
    KALKULATOR();
    EXPECT_DOUBLE_EQ(publics().number("M_KALK_POLE"), 3.0);
  }
  {
    CalculatorScreen s;
    publics().set("M_KALK_POLE", 1e18);  // wider than the entry line
    set_editing_field_query([] { return std::string("M_KALK_POLE"); });
    s.script(keys({"5"}));
    KALKULATOR();
    EXPECT_EQ(CalculatorScreen::entry(s.terminal.frames().front().screen), "0");
    EXPECT_DOUBLE_EQ(publics().number("M_KALK_POLE"), 1e18);
  }
}

TEST(Calculator, AltKIsUnboundWhileItRunsAndBoundAfterwards) {
  CalculatorScreen s;
  bool bound_while_running = true;
  set_editing_field_query([&] {
    bound_while_running = s.con.has_hot_key(key::kAltK);
    return std::string();
  });
  EXPECT_FALSE(s.con.has_hot_key(key::kAltK));
  s.script({});
  KALK();
  EXPECT_FALSE(bound_while_running);
  EXPECT_TRUE(s.con.has_hot_key(key::kAltK));
}

TEST(Calculator, AltKInAFormAfterTheFirstUseWorksOnTheField) {
  CalculatorScreen s;
  s.script({});
  KALK();  // the first use binds Alt+K
  publics().set("M_KALK_POLE", 12.5);
  Form form(s.con, publics());  // the calculator finds the field the form is editing
  form.get(5, 10, "M_KALK_POLE", "999.99");
  s.terminal.keys().type({key::kAltK});
  s.terminal.keys().type_after(CalculatorScreen::kTyped, {'+', '1', '='});
  s.terminal.keys().type_after(CalculatorScreen::kClosing, {key::kEsc});
  s.terminal.keys().type_after(2 * CalculatorScreen::kClosing, {key::kEnter});
  EXPECT_EQ(form.read(), key::kEnter);
  EXPECT_DOUBLE_EQ(publics().number("M_KALK_POLE"), 13.5);
  EXPECT_EQ(s.con.screen().row_text(5).substr(10, 6), " 13.50");  // the field took the result
  EXPECT_TRUE(s.con.has_hot_key(key::kAltK));
  EXPECT_EQ(form_editing_variable(), "");
}

TEST(Calculator, AnyKeysNeverBreakIt) {
  const std::vector<int> pool = {'0', '1', '5', '9', '.', ',', '+', '-', '*', '/', '=', key::kEnter,
                                 key::kBackspace, 'c', 'm', 'n', 'M', 'N', key::kLeft, key::kRight,
                                 'x', key::kUp, key::F(3), key::kAltK, 0x7F, 255};
  std::mt19937 random(1234);
  for (int round = 0; round < 20; ++round) {
    CalculatorScreen s;
    std::vector<int> script;
    for (int i = 0; i < 400; ++i) script.push_back(pool[random() % pool.size()]);
    s.script(script);
    EXPECT_NO_THROW(KALKULATOR());
    const int x = CalculatorScreen::x();
    EXPECT_GE(x, 1);
    EXPECT_LE(x, 60);
    const std::string entry = s.before_closing().row_text(23).substr(x, 19);
    EXPECT_NE(entry.find_first_not_of(' '), std::string::npos) << "round " << round;
  }
}

}  // namespace
}  // namespace intra
