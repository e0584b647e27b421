#pragma once
// The editing of one form field while it has the cursor: the buffer, the
// cursor over the editable positions, the horizontal scroll of an @S field
// and whether anything was changed. No screen and no keys here, so every
// editing rule can be tested on its own; the form maps keys to these calls.
//
// Invariants: the buffer is as wide as the picture; the cursor is always on
// an editable position (position 0 when the field has none); the visible
// window [scroll, scroll + shown width) always contains the cursor.
#include <string>

#include "main/value.h"
#include "screen/picture.h"

namespace intra {

class FieldEditor {
 public:
  FieldEditor(Picture picture, const Value& value);

  const Picture& picture() const { return picture_; }
  const std::string& buffer() const { return buffer_; }
  // The part of the buffer the screen shows, shown-width characters.
  std::string visible() const;
  int cursor() const;  // buffer position of the cursor
  int scroll() const { return scroll_; }
  // Whether the buffer differs from the one the field started with.
  bool changed() const { return buffer_ != original_; }

  // A typed character, in insert or overwrite mode. Returns false when the
  // position refuses it or the field is full: typing past the end never
  // leaves the field, the extra characters are dropped.
  bool type(char c, bool insert);
  void left();
  void right();
  void home();
  void end();  // after the last non-blank character
  void word_left();
  void word_right();
  void backspace();
  void delete_char();
  void clear_to_end();
  void delete_word_right();
  void undo();  // back to the value the field started with

  bool acceptable() const { return picture_.acceptable(buffer_); }
  Value value(const Value& original) const { return picture_.value_of(buffer_, original); }

 private:
  int count() const { return static_cast<int>(picture_.editable_positions().size()); }
  char& at(int index) { return buffer_[picture_.editable_positions()[index]]; }
  char at(int index) const { return buffer_[picture_.editable_positions()[index]]; }
  void move_to(int index);
  void remove_at(int index, int how_many);
  void start_clean();  // @K and numbers: the first typed character clears the field
  void point();        // "." in a number: on to the decimals

  Picture picture_;
  std::string buffer_;
  std::string original_;
  int index_ = 0;          // the cursor, as an index into the editable positions
  int scroll_ = 0;
  bool past_end_ = false;  // the last position was typed into: the cursor stays on it
  bool first_key_ = true;  // nothing has been done in the field yet
};

}  // namespace intra
