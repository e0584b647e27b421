#pragma once
// The console services every routine draws and reads keys through: text at
// positions and at the cursor, colours, boxes, saved rectangles, the cursor,
// the keyboard (waits through the clock, last key, next key, pushed keys)
// and hot keys. Drawing goes into the screen buffer; the terminal shows it
// whenever the program waits.
#include <deque>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>

#include "main/clock.h"
#include "screen/colour.h"
#include "screen/screen_buffer.h"
#include "screen/terminal.h"

namespace intra {

// A test waited for a key without a time limit after its script ran out.
struct KeyboardScriptExhausted : std::runtime_error {
  KeyboardScriptExhausted() : std::runtime_error("waiting for a key, but the keyboard script is empty") {}
};

class Console {
 public:
  Console(TerminalBackend& terminal, Clock& clock);

  // --- output
  // Text at (row, col) in the standard colour, or in the given attribute.
  void say(int row, int col, std::string_view text);
  void say(int row, int col, std::string_view text, Attribute attr);
  // Text in a colour string's standard pair, e.g. say_in("W+/R", ...).
  void say_in(std::string_view colour, int row, int col, std::string_view text);
  // Text at the cursor, moving it; wraps at the right edge, scrolls at the bottom.
  void out(std::string_view text);
  // A line end first, then the text.
  void out_line(std::string_view text);
  int row() const { return screen_.cursor_row(); }
  int col() const { return screen_.cursor_col(); }
  void set_pos(int row, int col) { screen_.set_cursor(row, col); }
  void clear();  // whole screen in the standard colour, cursor home
  void clear_rect(int top, int left, int bottom, int right);
  void box(int top, int left, int bottom, int right, BoxType type);
  void box(int top, int left, int bottom, int right, BoxType type, Attribute attr);
  SavedRegion save(int top, int left, int bottom, int right) const { return screen_.save(top, left, bottom, right); }
  void restore(const SavedRegion& region) { screen_.restore(region); }

  // --- colours
  // Applies a colour string; returns the previous one. "" restores the default.
  std::string set_colour(std::string_view setting);
  const std::string& colour_string() const { return colour_text_; }
  const ColourSetting& colours() const { return colours_; }
  bool is_colour() const { return terminal_.is_colour(); }

  // --- cursor
  void show_cursor(bool visible) { screen_.show_cursor(visible); }
  bool cursor_visible() const { return screen_.cursor_visible(); }

  // --- keys
  // Waits up to `seconds` for a key (0: without limit) and returns its code,
  // or 0 when none came. A key ends the wait early.
  int inkey(double seconds);
  // The next key if one is there now, else 0; never waits.
  int poll_key();
  int last_key() const { return last_key_; }
  void set_last_key(int code) { last_key_ = code; }
  // The key the next read will return, without taking it (0 when none).
  int next_key();
  // Puts keys into the keyboard buffer, ahead of anything typed later.
  void push_keys(std::initializer_list<int> keys);
  void push_key(int key) { pushed_.push_back(key); }
  void clear_keyboard() { pushed_.clear(); }
  // Waits without a limit for a key the way forms and menus do: a key bound
  // as a hot key runs its handler and the wait goes on.
  int wait_key_with_hot_keys();
  // The same; `after_hot_key` runs after each handler, so a form or menu can
  // put back its highlight and cursor before the wait goes on.
  int wait_key_with_hot_keys(const std::function<void()>& after_hot_key);
  // Waits `seconds` through the clock, showing the screen first.
  void sleep(double seconds);

  // --- hot keys
  // Binds a handler to a key code; an empty handler removes the binding.
  void bind_hot_key(int code, std::function<void()> handler);
  bool has_hot_key(int code) const { return hot_keys_.count(code) != 0; }
  // Runs the handler bound to `code` if there is one (not again while it is
  // still running); returns whether it ran.
  bool run_hot_key(int code);

  // Shows the screen on the terminal now.
  void refresh();
  ScreenBuffer& screen() { return screen_; }
  const ScreenBuffer& screen() const { return screen_; }
  Clock& clock() { return clock_; }

 private:
  int take_key();  // one key from the pushed buffer or the terminal, 0 when none
  void scroll_up();

  TerminalBackend& terminal_;
  Clock& clock_;
  ScreenBuffer screen_;
  ColourSetting colours_;
  std::string colour_text_;
  std::deque<int> pushed_;
  int last_key_ = 0;
  std::uint64_t presented_version_ = ~0ULL;
  std::map<int, std::function<void()>> hot_keys_;
  std::map<int, bool> hot_key_running_;
};

// The console of the run. The entry routine installs the real one; tests
// install one over a virtual terminal.
Console& console();
void set_console(Console* console);
bool has_console();

}  // namespace intra
