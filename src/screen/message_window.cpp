#include "screen/message_window.h"

#include <algorithm>
#include <climits>

namespace intra {
namespace {

constexpr int kTextLeft = 31;
constexpr int kTextWidth = 41;

// The timed window's red look, for any wait but one second.
constexpr Attribute kRedFrame = make_attribute(7, 4, true);       // W+/R
constexpr Attribute kUntilKeyText = make_attribute(6, 0, true);   // RG+/N, waits for a key
constexpr Attribute kRedText = make_attribute(4, 0, true);        // R+/N

constexpr double kLongestWaitSeconds = 24.0 * 60 * 60;

// Waits as the classic timed key wait does: up to `seconds`, without limit
// for 0, and a key ends the wait and is taken.
void wait_seconds_or_key(Console& con, double seconds) {
  if (seconds == 0) {
    con.inkey(0);
  } else if (seconds > 0) {
    con.inkey(std::min(seconds, kLongestWaitSeconds));
  } else {
    con.refresh();  // negative or not a number: shown, but nothing to wait for
  }
}

bool show_for(Console& con, std::string_view text, Attribute frame, Attribute text_attr, double seconds) {
  const ScreenUnderMessage under(con);
  draw_message_window(con, text, frame, text_attr);
  wait_seconds_or_key(con, seconds);
  return true;
}

}  // namespace

int message_text_column(std::size_t length) {
  // Built-in division drops the fraction toward zero, also for the negative
  // differences of long texts: 44 characters give 31 + (-3 / 2) = 30.
  const int len = static_cast<int>(std::min<std::size_t>(length, INT_MAX / 2));
  return kTextLeft + (kTextWidth - len) / 2;
}

void draw_message_window(Console& con, std::string_view text, Attribute frame, Attribute text_attr) {
  // Drawn with explicit attributes rather than by changing the colour
  // setting and back, so the caller's setting stays exactly what it was.
  const int row = con.row(), col = con.col();
  con.screen().fill(kMessageTop, kMessageLeft, kMessageBottom, kMessageRight, ' ', ColourSetting::kDefaultStandard);
  con.box(kMessageTop, kMessageLeft, kMessageBottom, kMessageRight, BoxType::Double, frame);
  con.say(kMessageTextRow, message_text_column(text.size()), text, text_attr);
  con.set_pos(row, col);
}

ScreenUnderMessage::ScreenUnderMessage(Console& con)
    : con_(con),
      text_row_(con.save(kMessageTextRow, 0, kMessageTextRow, ScreenBuffer::kCols - 1)),
      region_(con.save(kMessageTop, kMessageLeft, kMessageSavedBottom, kMessageRight)),
      row_(con.row()),
      col_(con.col()) {}

ScreenUnderMessage::~ScreenUnderMessage() {
  con_.restore(text_row_);
  con_.restore(region_);
  con_.set_pos(row_, col_);
}

bool OKNO_(std::string_view text, Console& con) { return show_for(con, text, kMessageFrame, kMessageText, 1); }

bool OKNO_(std::string_view text, double seconds, Console& con) {
  const bool red = seconds != 1;
  const Attribute text_attr = !red ? kMessageText : seconds == 0 ? kUntilKeyText : kRedText;
  return show_for(con, text, red ? kRedFrame : kMessageFrame, text_attr, seconds);
}

bool OKNO_(std::string_view text, std::string_view /*standing*/, Console& con) {
  draw_message_window(con, text, kMessageFrame, kMessageText);
  // A progress note is followed by work that does not wait, so it is shown now.
  con.refresh();
  return true;
}

}  // namespace intra
