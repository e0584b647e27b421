#pragma once
// The calculator on the screen: the frame area (rows 22 to 24, columns
// x - 1 to x + 19 with x = LX_KALK), the entry line (row 23, columns x to
// x + 18) and the paper-roll tape that grows upwards from row 22 to row
// `GORA`. It draws over the screen the calculator was opened on and can
// put that screen back, wholly or behind the window when it moves.
//
// Invariants: 0 <= GORA <= 22; the tape occupies rows GORA..22; 1 <= x <= 60.
#include <string>
#include <string_view>

#include "screen/console.h"

namespace intra::calc {

inline constexpr int kTapeBottom = 22;
inline constexpr int kEntryRow = 23;
inline constexpr int kLabelRow = 24;
inline constexpr int kLeftmost = 1;
inline constexpr int kRightmost = 60;

class CalculatorWindow {
 public:
  // `background` is the whole screen as it was before the calculator.
  CalculatorWindow(Console& con, SavedRegion background, int& lx_kalk);

  // The screen as it was, then the frame area with its label and an empty
  // one-row tape.
  void draw_empty();
  // The text's screen form on the entry line.
  void show_entry(std::string_view screen_text);

  // PUSTE: grows the tape by the row above it (stopping at row 0) and
  // scrolls the tape up by one, leaving row 22 empty.
  void PUSTE();
  // SAY_XY_: writes the non-blank characters of a 19-column text on the
  // tape's bottom row.
  void SAY_XY_(std::string_view text);
  // Blanks the last column of the tape's bottom row (a sign taken back).
  void clear_sign();

  // Carries the tape and the frame area one column left (-1) or right (+1)
  // within columns 1..60, the screen behind them restored.
  void move(int step);

  int x() const { return lx_; }
  int top() const { return gora_; }
  const SavedRegion& background() const { return background_; }

 private:
  Attribute attr_of(std::string_view colour) const;
  Attribute tape_attr() const { return attr_of("N/W"); }

  Console& con_;
  SavedRegion background_;
  int& lx_;
  int gora_ = kTapeBottom;
};

}  // namespace intra::calc
