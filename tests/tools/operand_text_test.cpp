#include "tools/operand_text.h"

#include <gtest/gtest.h>

#include <string>

namespace intra::calc {
namespace {

std::string typed(std::string operand, const std::string& keys) {
  for (const char k : keys) operand = typed_into(operand, k == '<' ? 8 : k);
  return trimmed(operand);
}

TEST(OperandText, ZeroIsEighteenBlanksAndNought) {
  EXPECT_EQ(zero_operand(), std::string(18, ' ') + "0");
  EXPECT_TRUE(is_zero(zero_operand()));
  EXPECT_FALSE(is_zero(right_aligned("0.")));
}

struct TypingCase {
  const char* keys;  // '<' is Backspace
  const char* operand;
};

class Typing : public ::testing::TestWithParam<TypingCase> {};

TEST_P(Typing, GivesTheOperand) {
  EXPECT_EQ(typed(zero_operand(), GetParam().keys), GetParam().operand) << GetParam().keys;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, Typing,
    ::testing::Values(TypingCase{"1234", "1234"}, TypingCase{"0", "0"}, TypingCase{"00012", "12"},
                      TypingCase{"7<", "0"}, TypingCase{"12<", "1"}, TypingCase{"<", "0"},
                      TypingCase{".5", "0.5"}, TypingCase{"1.2.3", "1.23"}, TypingCase{"1..", "1."},
                      TypingCase{"0.0", "0.0"}, TypingCase{"123456789012345", "123456789012345"},
                      // the 16th digit would make the screen form wider than 19
                      TypingCase{"1234567890123456", "123456789012345"},
                      TypingCase{"1.<", "1"}, TypingCase{"x+", "0"}));

TEST(OperandText, BackspaceOnANegativeNumberNeverLeavesABareSign) {
  EXPECT_EQ(typed(right_aligned("-5"), "<"), "0");
  EXPECT_EQ(typed(right_aligned("-12.50"), "<<<"), "-12");
}

TEST(OperandText, AnOverflowTakesNoDigitsAndBackspaceClearsIt) {
  const std::string stars(19, '*');
  EXPECT_EQ(typed_into(stars, '5'), stars);
  EXPECT_TRUE(is_zero(typed_into(stars, 8)));
}

TEST(OperandText, TheScreenFormGroupsDigitsInThrees) {
  EXPECT_EQ(TR_(right_aligned("1800")), right_aligned("1 800"));
  EXPECT_EQ(TR_(right_aligned("0.333333")), right_aligned("0.333 333"));
  EXPECT_EQ(TR_(right_aligned("-1234.5")), right_aligned("-1 234.5"));
  EXPECT_EQ(TR_(right_aligned("12.")), right_aligned("12."));
  EXPECT_EQ(TR_(right_aligned("0.1234")), right_aligned("0.123 4"));
  EXPECT_EQ(TR_(right_aligned("123456789012345")), "123 456 789 012 345");
  EXPECT_EQ(TR_(std::string(19, '*')), "*** *** *** *** ***");
  EXPECT_EQ(TRANS_(right_aligned("123456789012345.25")), "123 456 789 012 345");
}

TEST(OperandText, ResultsAreRoundedToSixDecimalsWithoutTrailingZeros) {
  EXPECT_EQ(trimmed(STRYJ_(1800)), "1800");
  EXPECT_EQ(trimmed(STRYJ_(2.5L)), "2.5");
  EXPECT_EQ(trimmed(STRYJ_(1.0L / 3)), "0.333333");
  EXPECT_EQ(trimmed(STRYJ_(2.0L / 3)), "0.666667");
  EXPECT_EQ(trimmed(STRYJ_(-2)), "-2");
  EXPECT_EQ(trimmed(STRYJ_(-0.0000001L)), "0");
  EXPECT_EQ(STRYJ_(1.5L).size(), 19u);
}

TEST(OperandText, ResultsOutsideTheTapeAreStars) {
  bool overflow = false;
  EXPECT_EQ(trimmed(STRYJ_(999'999'999'999'999.0L, &overflow)), "999999999999999");
  EXPECT_FALSE(overflow);
  EXPECT_EQ(STRYJ_(1'000'000'000'000'000.0L, &overflow), std::string(19, '*'));
  EXPECT_TRUE(overflow);
  EXPECT_EQ(STRYJ_(-100'000'000'000'000.0L, &overflow), std::string(19, '*'));
  EXPECT_TRUE(overflow);
  EXPECT_EQ(trimmed(STRYJ_(-99'999'999'999'999.0L)), "-99999999999999");
}

TEST(OperandText, ArithmeticByOperatorAndNoDivisionByZero) {
  EXPECT_EQ(WYNIK_('+', 1234, 566), 1800);
  EXPECT_EQ(WYNIK_('-', 3, 5), -2);
  EXPECT_EQ(WYNIK_('*', 6, 7), 42);
  EXPECT_EQ(WYNIK_('/', 10, 4), 2.5);
  EXPECT_EQ(WYNIK_('/', 5, 0), 0);
}

TEST(OperandText, ANumberFromAFieldKeepsItsValue) {
  EXPECT_EQ(trimmed(*operand_of_number(12.5)), "12.50");
  EXPECT_EQ(trimmed(*operand_of_number(7)), "7");
  EXPECT_EQ(trimmed(*operand_of_number(0.125)), "0.125");
  EXPECT_EQ(trimmed(*operand_of_number(-3.1)), "-3.10");
  EXPECT_FALSE(operand_of_number(1e18).has_value());
  EXPECT_DOUBLE_EQ(static_cast<double>(value_of(*operand_of_number(0.125))), 0.125);
}

TEST(OperandText, ValuesOfOddTexts) {
  EXPECT_EQ(value_of(right_aligned("12.")), 12);
  EXPECT_EQ(value_of(right_aligned("-")), 0);
  EXPECT_EQ(value_of(std::string(19, '*')), 0);
}

}  // namespace
}  // namespace intra::calc
