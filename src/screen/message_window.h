#pragma once
// The message window nearly every routine talks to the user through,
// OKNO_ (the system's `_OKNO_`), in three forms:
//
//   OKNO_("Brak pliku");                 // brief: one second, or less if a key comes
//   OKNO_("Blad zapisu", 5);             // timed: 5 seconds or a key; 0 waits for a key
//   OKNO_("Prosze czekac ...", "");      // standing: drawn and left on the screen
//
// The window is rows 15 to 19, columns 30 to 72, framed by a double line,
// with the text on row 17 centred on columns 31 to 71. The brief and timed
// forms save rows 15 to 20 of those columns and put them back afterwards;
// the standing form leaves the window until something is drawn over it.
// Every form leaves the caller's colour setting, cursor position and cursor
// visibility as they were. All forms return true.
//
// A key that ends a wait is taken from the keyboard, as the classic timed
// key wait does: it does not reach whatever reads keys next.
#include <cstddef>
#include <string_view>

#include "screen/colour.h"
#include "screen/console.h"
#include "screen/screen_buffer.h"

namespace intra {

// The window's rectangle, and the larger one saved under it, which also
// covers the answer box of the yes/no question (rows 18 to 20).
inline constexpr int kMessageTop = 15;
inline constexpr int kMessageBottom = 19;
inline constexpr int kMessageLeft = 30;
inline constexpr int kMessageRight = 72;
inline constexpr int kMessageTextRow = 17;
inline constexpr int kMessageSavedBottom = 20;

// The window's normal look: black on white frame ("0/7"), bright white text ("W+/N").
inline constexpr Attribute kMessageFrame = make_attribute(0, 7);
inline constexpr Attribute kMessageText = make_attribute(7, 0, true);

// The column a text of `length` characters starts at: 31 + (41 - length) / 2,
// the fraction dropped toward zero. A text of 43 or more characters starts
// left of column 31 (and runs over the frame); a very long one starts left
// of the screen and is cut at both edges.
int message_text_column(std::size_t length);

// Clears the window's rectangle in the default colours, draws the double
// frame and the centred text in the given attributes. The cursor position
// and the colour setting are left as they were.
void draw_message_window(Console& con, std::string_view text, Attribute frame, Attribute text_attr);

// What lies under a message window: rows 15 to 20, columns 30 to 72, and
// the cursor position. Put back when this goes out of scope, however the
// window ends (a test's key script may run out during a wait). The whole
// text row is kept as well, because a text of more than 43 characters runs
// past the window's sides and must not stay on the caller's screen.
class ScreenUnderMessage {
 public:
  explicit ScreenUnderMessage(Console& con);
  ~ScreenUnderMessage();
  ScreenUnderMessage(const ScreenUnderMessage&) = delete;
  ScreenUnderMessage& operator=(const ScreenUnderMessage&) = delete;

 private:
  Console& con_;
  SavedRegion text_row_;
  SavedRegion region_;
  int row_, col_;
};

// Brief: shown for one second; a key ends it earlier.
bool OKNO_(std::string_view text, Console& con = console());

// Timed: shown for `seconds`, or until a key when `seconds` is 0; a key ends
// any wait early. With any other value than 1 the window is red: frame
// "W+/R", text "RG+/N" for 0 and "R+/N" otherwise; with 1 it looks like the
// standing form. A negative value (or not a number) shows the window
// without waiting; waits longer than a day are cut to a day.
bool OKNO_(std::string_view text, double seconds, Console& con = console());
// Whole seconds, so that OKNO_("...", 0) and OKNO_("...", 5) are timed
// windows and never taken for the standing form's text.
inline bool OKNO_(std::string_view text, int seconds, Console& con = console()) {
  return OKNO_(text, static_cast<double>(seconds), con);
}

// Standing: the second argument is a text and whatever it says, the window
// is drawn, shown on the terminal at once and left there; returns without
// waiting or reading a key.
bool OKNO_(std::string_view text, std::string_view standing, Console& con = console());

}  // namespace intra
