#pragma once
// The picture of a form field: which buffer positions the user may type
// into, what each of them accepts, how a value is shown in the buffer and
// what value a buffer stands for. Pure logic, no screen.
//
// A picture is an optional function part ("@" and letters, ended by a
// blank or the end) followed by a template, one character per buffer
// position:
//   X any character          ! any character, turned to upper case
//   9 a digit (in a number also the sign)   # digit, blank or sign
//   A a letter               N a letter or a digit
//   L T/F/Y/N                Y Y/N
// Every other template character is fixed: shown and, in a text value,
// stored ("99-999" stores the dash). In a number "." is the decimal point
// and "," a group separator shown only between digits.
// Functions: @! every character upper case; @K the first typed character
// clears the field; @S<n> the field is n columns wide on the screen and
// scrolls; @R fixed characters are shown but not stored.
// Without a template the field is as wide as its value: a text its length,
// a number 10 integer positions (and its own decimals), a date dd.mm.yyyy,
// a logical one position.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "main/value.h"

namespace intra {

enum class FieldKind { Text, Number, Date, Logical };

class Picture {
 public:
  // The picture for a field that holds `value`; the value decides the kind
  // and, when the picture has no template, the width.
  Picture(std::string_view picture, const Value& value);

  FieldKind kind() const { return kind_; }
  int width() const { return static_cast<int>(template_.size()); }
  int shown_width() const;  // columns on the screen: @S n, else the width
  int decimals() const { return decimals_; }
  bool clears_on_first_key() const { return clear_on_first_key_; }
  bool stores_fixed_characters() const { return !fixed_not_stored_; }

  // Editable buffer positions in order; empty when nothing can be typed.
  const std::vector<int>& editable_positions() const { return editable_; }
  bool is_editable(int pos) const;
  // The character position `pos` takes for a typed `c` (upper-cased where
  // the picture says so), or nothing when the position refuses it.
  std::optional<char> accept(int pos, char c) const;
  // Numeric fields: the buffer position of the decimal point, -1 without decimals.
  int point_position() const { return point_; }

  // The buffer showing a value, and one with every editable position blank.
  std::string buffer_of(const Value& value) const;
  std::string blank_buffer() const;
  // The value a buffer stands for. A text keeps the characters of
  // `original` beyond the edited width, so a short picture never cuts the
  // variable.
  Value value_of(std::string_view buffer, const Value& original) const;
  // False only for a date buffer that is neither blank nor a valid date.
  bool acceptable(std::string_view buffer) const;
  // Numeric fields: right-aligns the integer part typed so far in front
  // of the decimal point (what typing "." does); the decimals stay.
  void align_integer_part(std::string& buffer) const;

 private:
  void parse_functions(std::string_view functions);
  void build_template(std::string_view tmpl, const Value& value);
  std::string render_number(double number) const;
  double parse_number(std::string_view buffer) const;
  int integer_end() const { return point_ >= 0 ? point_ : width(); }

  FieldKind kind_ = FieldKind::Text;
  std::string template_;  // one character per buffer position
  std::vector<int> editable_;
  bool upper_all_ = false;
  bool clear_on_first_key_ = false;
  bool fixed_not_stored_ = false;
  int scroll_width_ = 0;  // 0: not scrolling
  int point_ = -1;
  int decimals_ = 0;
};

}  // namespace intra
