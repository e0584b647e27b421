#include "tools/calculator.h"

#include "screen/key_codes.h"
#include "tools/editing_field.h"
#include "tools/operand_text.h"

namespace intra {
namespace calc {
namespace {

bool is_operator(int key) { return key == '+' || key == '-' || key == '*' || key == '/'; }

}  // namespace

Kalkulator::Kalkulator(Console& con, PublicVariables& vars, CalculatorMemory& memory)
    : con_(con),
      vars_(vars),
      memory_(memory),
      screen_before_(con.save(0, 0, ScreenBuffer::kRows - 1, ScreenBuffer::kCols - 1)),
      window_(con, screen_before_, memory.LX_KALK),
      a_(zero_operand()),
      b_(zero_operand()) {}

void Kalkulator::open() {
  con_.clear_keyboard();
  while (con_.next_key() != 0) con_.clear_keyboard();
  cursor_row_ = con_.row();
  cursor_col_ = con_.col();
  colour_before_ = con_.colour_string();
  ZER_AB_();
  naz_get_ = editing_field_variable();
  if (!naz_get_.empty() && vars_.get(naz_get_).is_number()) {
    // A number the entry line cannot hold leaves the field alone.
    if (const auto start = operand_of_number(vars_.get(naz_get_).number())) {
      sa_liczby_ = true;
      ZER_AB_(&*start);
    }
  }
  con_.show_cursor(false);
}

bool Kalkulator::handle(int key) {
  if (key == ',') key = '.';
  if (is_operator(key) || key == '=' || key == key::kEnter) {
    DAJ_WYNIK_(key);
  } else if ((key >= '0' && key <= '9') || key == '.' || key == key::kBackspace) {
    DOKLEJ_(key);
  } else if (key == 'c' || key == 'C') {
    ZER_AB_();
  } else if (key == 'm' || key == 'M') {
    store_in_memory();
  } else if (key == 'n' || key == 'N') {
    type_from_memory();
  } else if (key == key::kLeft) {
    window_.move(-1);
  } else if (key == key::kRight) {
    window_.move(+1);
  } else if (key == key::kEsc) {
    return false;
  }
  return true;
}

void Kalkulator::close() {
  con_.restore(screen_before_);
  con_.set_colour(colour_before_);
  con_.set_pos(cursor_row_, cursor_col_);
  con_.show_cursor(true);
  if (sa_liczby_) {
    const std::string& chosen = is_zero(b_) ? a_ : b_;
    // An overflow is no number: the field keeps what it held.
    if (!is_overflow(chosen)) vars_.set(naz_get_, Value(static_cast<double>(value_of(chosen))));
  }
  con_.clear_keyboard();
  while (con_.next_key() != 0) con_.clear_keyboard();
}

void Kalkulator::ZER_AB_(const std::string* start) {
  window_.draw_empty();
  obrabiane_ = 'A';
  dzialanie_ = '+';
  a_ = start ? *start : zero_operand();
  b_ = zero_operand();
  window_.show_entry(TRANS_(a_));
}

void Kalkulator::DOKLEJ_(int key) {
  if (dzialanie_ == ' ') return;  // a result stands: only an operator or "c" goes on
  if (obrabiane_ == 'B' && is_overflow(a_)) return;
  operand() = typed_into(operand(), key);
  window_.show_entry(TRANS_(operand()));
}

std::string Kalkulator::result() {
  return STRYJ_(WYNIK_(dzialanie_, value_of(a_), value_of(b_)));
}

void Kalkulator::on_tape(const std::string& operand_text) {
  window_.PUSTE();
  window_.SAY_XY_(TRANS_(operand_text));
}

void Kalkulator::sign_on_tape(char sign) { window_.SAY_XY_(std::string(1, sign)); }

void Kalkulator::rule_on_tape() {
  window_.PUSTE();
  window_.SAY_XY_(std::string(kWidth, '-'));
}

void Kalkulator::DAJ_WYNIK_(int key) {
  const char op = static_cast<char>(key);
  if (obrabiane_ == 'A') {
    if (is_zero(a_)) {
      // A sign before the first number.
      if (key == '-') {
        dzialanie_ = '-';
        sign_on_tape('-');
      } else if (key == '+') {
        dzialanie_ = '+';
        window_.clear_sign();
      }
      return;
    }
    if (!is_operator(key) || is_overflow(a_)) return;
    std::string total = trimmed(a_);
    if (dzialanie_ == '-') total = "-" + total;
    if (total.size() > kWidth) total = total.find('.') != std::string::npos ? total.substr(0, kWidth) : std::string(kWidth, '*');
    a_ = right_aligned(total);
    on_tape(a_);
    window_.PUSTE();
    sign_on_tape(op);
    dzialanie_ = op;
    window_.show_entry(TRANS_(b_));
    obrabiane_ = 'B';
    return;
  }

  // After an overflow only "c" or Esc go on: the total is no number.
  if (is_overflow(a_)) return;
  if (is_operator(key)) {
    if (dzialanie_ == ' ') {
      on_tape(a_);
      window_.PUSTE();
      sign_on_tape(op);
      window_.show_entry(TRANS_(b_));
    }
    if (!is_zero(b_)) {
      on_tape(b_);
      rule_on_tape();
      a_ = result();
      on_tape(a_);
      window_.PUSTE();
    }
    sign_on_tape(op);
    b_ = zero_operand();
    window_.show_entry(TRANS_(b_));
    dzialanie_ = op;
    return;
  }

  // "=" or Enter: only with a second number and an operator waiting.
  if (is_zero(b_) || dzialanie_ == ' ') return;
  on_tape(b_);
  rule_on_tape();
  a_ = result();
  window_.show_entry(TRANS_(a_));
  b_ = zero_operand();
  // An operator next carries the result on; anything else closes the sum.
  int next = con_.next_key();
  if (next == 0) {
    next = con_.inkey(0);
    con_.push_key(next);
  }
  if (is_operator(next)) {
    dzialanie_ = static_cast<char>(next);
  } else {
    dzialanie_ = ' ';
    on_tape(a_);
    window_.PUSTE();
    window_.show_entry(TRANS_(b_));
  }
}

void Kalkulator::store_in_memory() {
  const std::string& shown = is_zero(b_) ? a_ : b_;
  if (!is_overflow(shown)) memory_.M_KALK = shown;
}

void Kalkulator::type_from_memory() {
  if (memory_.M_KALK.empty()) return;
  con_.push_key(key::kEnter);
  for (const char c : memory_.M_KALK)
    if (c != ' ') con_.push_key(static_cast<unsigned char>(c));
  memory_.M_KALK.clear();
}

}  // namespace calc

CalculatorMemory& calculator_memory() {
  static CalculatorMemory memory;
  return memory;
}

bool KALKULATOR() {
  Console& con = console();
  calc::Kalkulator kalkulator(con, publics(), calculator_memory());
  kalkulator.open();
  while (kalkulator.handle(con.inkey(0))) {
  }
  kalkulator.close();
  return true;
}

void KALK() {
  Console& con = console();
  con.bind_hot_key(key::kAltK, {});
  KALKULATOR();
  con.bind_hot_key(key::kAltK, [] { KALK(); });
}

}  // namespace intra
