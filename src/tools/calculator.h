#pragma once
// The pop-up adding-machine calculator. The number being typed stands on
// the entry line; operands, operators, rule lines and results go onto a
// paper-roll tape growing upwards above it. Opened while a numeric form
// field is being edited, it starts from the field's value and writes its
// result back into the field's variable when closed with Esc.
//
// Keys: digits and "." (also ",") type, Backspace takes back; "+" "-" "*"
// "/" are the operators, "=" and Enter give the result; "c" clears; "m"
// stores the number shown in the memory register, "n" types it back; Left
// and Right move the window; Esc closes. Other keys are ignored.
#include <string>

#include "main/public_variables.h"
#include "screen/console.h"
#include "tools/calculator_window.h"

namespace intra {

// Values kept from one use of the calculator to the next.
struct CalculatorMemory {
  int LX_KALK = 30;    // left column of the number field, 1..60
  std::string M_KALK;  // the memory register, a number as text ("" when empty)
};
CalculatorMemory& calculator_memory();

// The Alt+K entry: unbinds Alt+K while the calculator runs (so it cannot
// be opened twice at once), runs it, then binds Alt+K to itself, which
// makes it reachable from every form and menu after its first use.
void KALK();
// The calculator itself; always true.
bool KALKULATOR();

namespace calc {

// One use of the calculator: the operands and the pending operator.
class Kalkulator {
 public:
  Kalkulator(Console& con, PublicVariables& vars, CalculatorMemory& memory);

  // Takes the field's value when a numeric field is being edited and draws
  // the calculator.
  void open();
  // One key; false once Esc was read.
  bool handle(int key);
  // Puts the screen back and, when opened from a field, writes the result.
  void close();

  // ZER_AB_: everything cleared; A starts as `start` when given.
  void ZER_AB_(const std::string* start = nullptr);
  // DOKLEJ_: a digit, "." or Backspace typed into the operand being typed.
  void DOKLEJ_(int key);
  // DAJ_WYNIK_: an operator, "=" or Enter.
  void DAJ_WYNIK_(int key);

  const std::string& A() const { return a_; }
  const std::string& B() const { return b_; }
  char OBRABIANE() const { return obrabiane_; }
  char DZIALANIE() const { return dzialanie_; }
  bool SA_LICZBY() const { return sa_liczby_; }
  const CalculatorWindow& window() const { return window_; }

 private:
  std::string& operand() { return obrabiane_ == 'A' ? a_ : b_; }
  // A result of the pending operator as an operand.
  std::string result();
  void on_tape(const std::string& operand_text);
  void sign_on_tape(char sign);
  void rule_on_tape();
  void store_in_memory();
  void type_from_memory();

  Console& con_;
  PublicVariables& vars_;
  CalculatorMemory& memory_;
  SavedRegion screen_before_;
  CalculatorWindow window_;
  std::string a_, b_;
  char obrabiane_ = 'A';
  char dzialanie_ = '+';
  bool sa_liczby_ = false;
  std::string naz_get_;
  std::string start_operand_;
  int cursor_row_ = 0, cursor_col_ = 0;
  std::string colour_before_;
};

}  // namespace calc
}  // namespace intra
