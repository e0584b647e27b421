#include "tools/operand_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace intra::calc {
namespace {

constexpr int kBackspace = 8;
// The widest results the tape shows: 15 digits, or 14 after a minus sign.
constexpr long double kHighest = 999'999'999'999'999.0L;
constexpr long double kLowest = -99'999'999'999'999.0L;

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Digits in groups of three from the right: "1234" -> "1 234".
std::string grouped_from_right(std::string_view digits) {
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ' ';
    out += digits[i];
  }
  return out;
}

// Decimals in groups of three from the point: "3333" -> "333 3".
std::string grouped_from_left(std::string_view digits) {
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && i % 3 == 0) out += ' ';
    out += digits[i];
  }
  return out;
}

std::string fixed(long double n, int decimals) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*Lf", decimals, n);
  return buf;
}

}  // namespace

std::string zero_operand() { return right_aligned("0"); }

std::string right_aligned(std::string_view text) {
  if (text.size() >= kWidth) return std::string(text);
  return std::string(kWidth - text.size(), ' ') + std::string(text);
}

std::string trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

bool is_zero(std::string_view operand) { return trimmed(operand) == "0"; }

bool is_overflow(std::string_view operand) { return operand.find('*') != std::string_view::npos; }

long double value_of(std::string_view operand) {
  if (is_overflow(operand)) return 0;
  const std::string t = trimmed(operand);
  if (t.find_first_of("0123456789") == std::string::npos) return 0;
  return std::strtold(t.c_str(), nullptr);
}

std::optional<std::string> operand_of_number(double n) {
  if (!std::isfinite(n)) return std::nullopt;
  std::string text;
  if (n == std::trunc(n)) {
    text = fixed(n, 0);
  } else {
    // Two decimals as usual; more when two would change the field's value
    // on the way back.
    for (int decimals = 2; decimals <= 6; ++decimals) {
      text = fixed(n, decimals);
      if (std::fabs(std::strtod(text.c_str(), nullptr) - n) < 1e-9) break;
    }
  }
  if (text == "-0" || text.find_first_of("123456789") == std::string::npos) text = "0";
  const std::string operand = right_aligned(text);
  if (operand.size() > kWidth || TR_(operand).size() > kWidth) return std::nullopt;
  return operand;
}

std::string STRYJ_(long double n, bool* overflow) {
  if (overflow) *overflow = false;
  if (!std::isfinite(n) || n > kHighest || n < kLowest) {
    if (overflow) *overflow = true;
    return std::string(kWidth, '*');
  }
  long double rounded = std::roundl(n * 1'000'000.0L) / 1'000'000.0L;
  if (rounded == 0) rounded = 0;  // no "-0"
  std::string text = fixed(rounded, 6);
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  if (text.size() > kWidth) {
    // Only decimals can be in excess: the integer part has at most 16
    // characters within the range above.
    text.resize(kWidth);
    if (text.back() == '.') text.pop_back();
  }
  return right_aligned(text);
}

std::string TR_(std::string_view operand) {
  if (is_overflow(operand)) return "*** *** *** *** ***";
  std::string t = trimmed(operand);
  bool negative = false;
  if (!t.empty() && t.front() == '-') {
    negative = true;
    t.erase(0, 1);
  }
  const auto point = t.find('.');
  std::string whole = t.substr(0, point);
  const std::string decimals = point == std::string::npos ? "" : t.substr(point + 1);
  while (whole.size() > 1 && whole.front() == '0') whole.erase(0, 1);
  if (whole.empty()) whole = "0";
  const bool all_zero = t.find_first_of("123456789") == std::string::npos;
  std::string out = negative && !all_zero ? "-" : "";
  out += grouped_from_right(whole);
  if (point != std::string::npos) out += "." + grouped_from_left(decimals);
  return right_aligned(out);
}

std::string TRANS_(std::string_view operand) { return TR_(operand).substr(0, kWidth); }

std::string typed_into(std::string_view operand, int key) {
  const std::string original(operand);
  std::string t = trimmed(operand);
  const std::size_t length = t.size();
  if (is_overflow(t)) {
    // An overflow cannot be edited; Backspace starts again from zero.
    return key == kBackspace ? zero_operand() : original;
  }
  if (key == '0') {
    if (t == "0" || length >= kWidth) return original;
    t += '0';
  } else if (key >= '1' && key <= '9') {
    if (t == "0")
      t = std::string(1, static_cast<char>(key));
    else if (length < kWidth)
      t += static_cast<char>(key);
    else
      return original;
  } else if (key == '.') {
    if (t.find('.') != std::string::npos || length >= kWidth) return original;
    t += '.';
  } else if (key == kBackspace) {
    if (length > 1) {
      t.pop_back();
      // "-5" loses its digit: what is left stands for no number.
      bool any_digit = false;
      for (const char c : t) any_digit = any_digit || is_digit(c);
      if (!any_digit) t = "0";
    } else if (t != "0") {
      t = "0";
    }
  } else {
    return original;
  }
  std::string result = right_aligned(t);
  if (TR_(result).size() > kWidth) return original;
  return result;
}

long double WYNIK_(char operation, long double a, long double b) {
  switch (operation) {
    case '+': return a + b;
    case '-': return a - b;
    case '*': return a * b;
    case '/': return b != 0 ? a / b : 0;
    default: return a;
  }
}

}  // namespace intra::calc
