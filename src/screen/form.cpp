#include "screen/form.h"

#include <utility>

#include "main/run_settings.h"
#include "screen/key_codes.h"

namespace intra {
namespace {

constexpr int kCtrlT = 20;
constexpr int kCtrlU = 21;

bool is_character(int key) { return key >= 32 && key <= 255 && key != 127; }

}  // namespace

bool form_insert_mode() { return run_settings().insert_mode; }
void set_form_insert_mode(bool on) { run_settings().insert_mode = on; }

Form::Form(Console& con, PublicVariables& vars) : con_(con), vars_(vars) {}

Form& Form::get(int row, int col, std::string var_name, std::string picture, std::function<bool()> valid) {
  fields_.push_back(FormField{row, col, std::move(var_name), std::move(picture), std::move(valid)});
  draw_unselected(fields_.back());
  return *this;
}

Form& Form::say_get(int row, int col, std::string_view label, std::string var_name, std::string picture,
                    std::function<bool()> valid) {
  con_.say(row, col, label);
  return get(row, col + static_cast<int>(label.size()) + 1, std::move(var_name), std::move(picture), std::move(valid));
}

void Form::draw(const FormField& field, const FieldEditor& editor, Attribute attr) {
  con_.say(field.row, field.col, editor.visible(), attr);
  con_.set_pos(field.row, field.col + editor.cursor() - editor.scroll());
}

void Form::draw_unselected(const FormField& field) {
  const Value& value = vars_.get(field.var_name);
  draw(field, FieldEditor(Picture(field.picture, value), value), con_.colours().unselected);
}

int Form::read() {
  if (fields_.empty()) return con_.last_key();
  // However the read ends (a test's key script may run out inside it), the
  // fields are left unselected, the cursor as it was and the list empty.
  struct Finish {
    Form& form;
    bool cursor_was_visible;
    ~Finish() {
      for (const FormField& field : form.fields_) form.draw_unselected(field);
      form.con_.show_cursor(cursor_was_visible);
      form.fields_.clear();
    }
  } finish{*this, con_.cursor_visible()};

  con_.show_cursor(true);
  std::size_t i = 0;
  // A hot key may change this form's field list, hence the bound test on every turn.
  for (bool done = false; !done && i < fields_.size();) {
    const FormField field = fields_[i];
    switch (edit(field)) {
      case Leave::Next:
        if (i + 1 < fields_.size()) ++i;
        break;
      case Leave::NextOrEnd:
        if (i + 1 < fields_.size())
          ++i;
        else
          done = true;
        break;
      case Leave::Previous:
        if (i > 0) --i;
        break;
      case Leave::First: i = 0; break;
      case Leave::End:
      case Leave::Abandon: done = true; break;
    }
  }
  return con_.last_key();
}

namespace {
std::string g_editing_variable;

// The field being edited for the time of its edit; a form read from a hot
// key inside another form gives the outer field back afterwards.
class EditingVariable {
 public:
  explicit EditingVariable(const std::string& name) : before_(g_editing_variable) { g_editing_variable = name; }
  ~EditingVariable() { g_editing_variable = before_; }
  EditingVariable(const EditingVariable&) = delete;
  EditingVariable& operator=(const EditingVariable&) = delete;

 private:
  std::string before_;
};
}  // namespace

const std::string& form_editing_variable() { return g_editing_variable; }

Form::Leave Form::edit(const FormField& field) {
  const EditingVariable editing(field.var_name);
  // Every pass starts from the variable's value: on entering the field and
  // again after its condition refused the value just assigned.
  for (;;) {
    const Value original = vars_.get(field.var_name);
    FieldEditor editor(Picture(field.picture, original), original);
    Value shown = original;
    const Attribute selected = con_.colours().enhanced;
    const auto redraw = [&] {
      // A hot key (the calculator) may have written the field's variable:
      // the field then shows and edits the new value.
      const Value now = vars_.get(field.var_name);
      if (!(now == shown)) {
        editor = FieldEditor(Picture(field.picture, now), now);
        shown = now;
      }
      con_.show_cursor(true);
      draw(field, editor, selected);
    };
    for (;;) {
      draw(field, editor, selected);
      const int key = con_.wait_key_with_hot_keys(redraw);
      Leave how = Leave::Next;
      if (!leaving_key(key, how)) {
        edit_key(editor, key);
        continue;
      }
      if (how == Leave::Abandon) {
        draw_unselected(field);
        return how;
      }
      if (!editor.acceptable()) continue;
      if (editor.changed()) vars_.set(field.var_name, editor.value(original));
      if (field.valid && !field.valid()) break;
      draw_unselected(field);
      return how;
    }
  }
}

bool Form::leaving_key(int key, Leave& how) {
  switch (key) {
    case key::kEnter: how = Leave::NextOrEnd; return true;
    case key::kTab:
    case key::kDown: how = Leave::Next; return true;
    case key::kUp:
    case key::kShiftTab: how = Leave::Previous; return true;
    case key::kCtrlHome: how = Leave::First; return true;
    case key::kPgUp:
    case key::kPgDn:
    case key::kCtrlW: how = Leave::End; return true;
    case key::kEsc: how = Leave::Abandon; return true;
    default: return false;
  }
}

void Form::edit_key(FieldEditor& editor, int key) {
  switch (key) {
    case key::kLeft: editor.left(); break;
    case key::kRight: editor.right(); break;
    case key::kHome: editor.home(); break;
    case key::kEnd: editor.end(); break;
    case key::kCtrlLeft: editor.word_left(); break;
    case key::kCtrlRight: editor.word_right(); break;
    case key::kBackspace: editor.backspace(); break;
    case key::kDel: editor.delete_char(); break;
    case key::kCtrlY: editor.clear_to_end(); break;
    case kCtrlT: editor.delete_word_right(); break;
    case kCtrlU: editor.undo(); break;
    case key::kIns: set_form_insert_mode(!form_insert_mode()); break;
    default:
      if (is_character(key)) editor.type(static_cast<char>(key), form_insert_mode());
      break;  // keys without a meaning in a form are ignored
  }
}

}  // namespace intra
