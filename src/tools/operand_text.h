#pragma once
// The calculator's numbers as texts: an operand is 19 characters,
// right-aligned, made of an optional "-", digits and at most one "."; zero
// is 18 blanks and "0". These functions hold every rule of typing into an
// operand, of turning results into operands and of the screen form, with
// no screen and no keys, so each rule can be tested on its own.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace intra::calc {

inline constexpr std::size_t kWidth = 19;

// 18 blanks and "0".
std::string zero_operand();
// The text right-aligned in 19 characters (longer texts are kept whole).
std::string right_aligned(std::string_view text);
// The text without leading and trailing blanks.
std::string trimmed(std::string_view text);
bool is_zero(std::string_view operand);
// Whether the operand stands for an overflow (19 "*").
bool is_overflow(std::string_view operand);
// The operand's value; an overflow or a text without digits reads as 0.
long double value_of(std::string_view operand);

// The starting operand of a number handed in from a form field: with 2
// decimals when it has a fraction (more, up to 6, when 2 would change it).
// Empty when the number does not fit the 19 columns of the entry line.
std::optional<std::string> operand_of_number(double n);

// STRYJ_: a result as an operand: rounded to 6 decimals, trailing zero
// decimals (and a bare point) removed, right-aligned in 19. Outside the
// range the tape can show it gives 19 "*" and sets `overflow`.
std::string STRYJ_(long double n, bool* overflow = nullptr);

// TR_: the screen form: digits in groups of three separated by blanks on
// both sides of the point, right-aligned in 19 (longer when it does not
// fit). An overflow operand gives "*** *** *** *** ***".
std::string TR_(std::string_view operand);
// TRANS_: the first 19 characters of TR_.
std::string TRANS_(std::string_view operand);

// One typed key ('0'..'9', '.', or Backspace 8) applied to an operand. The
// operand is returned unchanged when the key is refused: a "0" on zero, a
// second ".", a 20th character, or a screen form wider than 19 columns.
std::string typed_into(std::string_view operand, int key);

// WYNIK_: the arithmetic of the pending operator; a quotient by zero is 0.
long double WYNIK_(char operation, long double a, long double b);

}  // namespace intra::calc
