#pragma once
// Forms: fields bound to variables by name, placed on the screen, then read
// in creation order.
//
//   Form form;
//   form.say_get(4, 0, "mm:", "M_MM", "99", [] { return in_range(...); });
//   form.get(5, 63, "M_KOD_UC", "999999");
//   if (form.read() == key::kEsc) ...
//
// A field shows its variable's value as soon as it is created (unselected
// colour). While reading, the field with the cursor is in the enhanced
// colour and the cursor is visible; afterwards every field is shown
// unselected, the cursor visibility is what it was, the field list is empty
// and the console's last key tells how the read ended.
//
// Keys while reading:
//   Enter            next field; on the last field the read ends
//   Tab, Down        next field (the last field keeps the cursor)
//   Up, Shift+Tab    previous field (the first field keeps the cursor)
//   Ctrl+Home        first field
//   PgUp, PgDn, Ctrl+W   the read ends, the field's value kept
//   Esc              the read ends; the field's edits are dropped, fields
//                    already left keep what was assigned to them
//   editing          characters (insert mode, Ins toggles), Left, Right,
//                    Home, End, Ctrl+Left, Ctrl+Right, Backspace, Del,
//                    Ctrl+Y (clear to the end), Ctrl+T (delete the word
//                    to the right), Ctrl+U (undo the field)
// Typing past the end of a field does not leave it. Leaving a field (any
// way but Esc) assigns its value to the variable when it was changed, then
// tests its condition: while the condition is false, or a date is invalid,
// the cursor stays in the field. Hot keys bound on the console run while
// the form waits for a key; any other key is ignored. Nothing is written
// on row 0 and there is no bell.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "main/public_variables.h"
#include "screen/console.h"
#include "screen/field_editor.h"

namespace intra {

// The run-wide insert mode of forms: on at start; Ins inside a form
// toggles it, and the new state holds for later forms as well.
bool form_insert_mode();
void set_form_insert_mode(bool on);

// The variable of the form field being edited now ("" when no form is
// reading): what a hot key's routine started from inside a form works on.
// A hot key that assigns that variable changes the field being edited.
const std::string& form_editing_variable();

struct FormField {
  int row = 0;
  int col = 0;
  std::string var_name;
  std::string picture;
  std::function<bool()> valid;  // tested on leaving; empty: always true
};

class Form {
 public:
  explicit Form(Console& con = console(), PublicVariables& vars = publics());

  // A field at row/col bound to the variable `var_name`, shown at once.
  Form& get(int row, int col, std::string var_name, std::string picture = "", std::function<bool()> valid = {});
  // The label at row/col in the standard colour, the field one column
  // after the label's end.
  Form& say_get(int row, int col, std::string_view label, std::string var_name, std::string picture = "",
                std::function<bool()> valid = {});

  // Edits the fields in creation order; returns the last key (27 for Esc).
  // With no fields it returns at once with the console's last key.
  int read();
  // Discards the pending fields without reading them.
  void clear() { fields_.clear(); }
  std::size_t size() const { return fields_.size(); }

 private:
  enum class Leave { Next, NextOrEnd, Previous, First, End, Abandon };
  static bool leaving_key(int key, Leave& how);
  static void edit_key(FieldEditor& editor, int key);
  Leave edit(const FormField& field);
  void draw(const FormField& field, const FieldEditor& editor, Attribute attr);
  void draw_unselected(const FormField& field);

  Console& con_;
  PublicVariables& vars_;
  std::vector<FormField> fields_;
};

}  // namespace intra
