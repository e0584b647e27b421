#include "screen/field_editor.h"

#include <algorithm>
#include <utility>

namespace intra {

FieldEditor::FieldEditor(Picture picture, const Value& value)
    : picture_(std::move(picture)), buffer_(picture_.buffer_of(value)), original_(buffer_) {}

std::string FieldEditor::visible() const {
  std::string shown = buffer_.substr(static_cast<std::size_t>(scroll_), static_cast<std::size_t>(picture_.shown_width()));
  shown.resize(static_cast<std::size_t>(picture_.shown_width()), ' ');
  return shown;
}

int FieldEditor::cursor() const { return count() == 0 ? 0 : picture_.editable_positions()[index_]; }

void FieldEditor::move_to(int index) {
  index_ = std::clamp(index, 0, std::max(count() - 1, 0));
  past_end_ = false;
  const int pos = cursor();
  const int shown = picture_.shown_width();
  if (pos < scroll_) scroll_ = pos;
  if (pos >= scroll_ + shown) scroll_ = pos - shown + 1;
  scroll_ = std::clamp(scroll_, 0, std::max(picture_.width() - shown, 0));
}

void FieldEditor::remove_at(int index, int how_many) {
  if (how_many <= 0) return;
  for (int i = index; i < count(); ++i) at(i) = i + how_many < count() ? at(i + how_many) : ' ';
}

void FieldEditor::start_clean() {
  buffer_ = picture_.blank_buffer();
  scroll_ = 0;
  move_to(0);
}

void FieldEditor::point() {
  picture_.align_integer_part(buffer_);
  const auto& positions = picture_.editable_positions();
  const auto first_decimal = std::upper_bound(positions.begin(), positions.end(), picture_.point_position());
  move_to(static_cast<int>(first_decimal - positions.begin()));
}

bool FieldEditor::type(char c, bool insert) {
  const bool first = std::exchange(first_key_, false);
  if (count() == 0) return false;
  const bool number = picture_.kind() == FieldKind::Number;
  if (number && c == '.') {
    if (picture_.point_position() < 0) return false;
    if (first) start_clean();
    point();
    return true;
  }
  if (first && (number || picture_.clears_on_first_key()) && picture_.accept(picture_.editable_positions()[0], c))
    start_clean();
  if (past_end_) return false;
  const auto accepted = picture_.accept(cursor(), c);
  if (!accepted) return false;
  if (insert)
    for (int i = count() - 1; i > index_; --i) at(i) = at(i - 1);
  at(index_) = *accepted;
  if (index_ + 1 < count())
    move_to(index_ + 1);
  else
    past_end_ = true;
  return true;
}

void FieldEditor::left() {
  first_key_ = false;
  move_to(index_ - 1);
}

void FieldEditor::right() {
  first_key_ = false;
  move_to(index_ + 1);
}

void FieldEditor::home() {
  first_key_ = false;
  move_to(0);
}

void FieldEditor::end() {
  first_key_ = false;
  int last = count() - 1;
  while (last >= 0 && at(last) == ' ') --last;
  move_to(last + 1);
}

void FieldEditor::word_left() {
  first_key_ = false;
  int i = index_ - 1;
  while (i > 0 && at(i) == ' ') --i;
  while (i > 0 && at(i - 1) != ' ') --i;
  move_to(i);
}

void FieldEditor::word_right() {
  first_key_ = false;
  int i = index_;
  while (i < count() && at(i) != ' ') ++i;
  while (i < count() && at(i) == ' ') ++i;
  move_to(i);
}

void FieldEditor::backspace() {
  first_key_ = false;
  if (count() == 0) return;
  if (past_end_) {
    past_end_ = false;  // the cursor stood after the last character: that one goes
  } else if (index_ > 0) {
    move_to(index_ - 1);
  } else {
    return;
  }
  remove_at(index_, 1);
}

void FieldEditor::delete_char() {
  first_key_ = false;
  if (count() == 0) return;
  past_end_ = false;
  remove_at(index_, 1);
}

void FieldEditor::clear_to_end() {
  first_key_ = false;
  if (count() == 0) return;
  past_end_ = false;
  for (int i = index_; i < count(); ++i) at(i) = ' ';
}

void FieldEditor::delete_word_right() {
  first_key_ = false;
  if (count() == 0) return;
  past_end_ = false;
  int i = index_;
  while (i < count() && at(i) != ' ') ++i;
  while (i < count() && at(i) == ' ') ++i;
  remove_at(index_, i - index_);
}

void FieldEditor::undo() {
  first_key_ = false;
  buffer_ = original_;
  move_to(0);
}

}  // namespace intra
