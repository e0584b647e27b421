#include "tools/calculator_window.h"

#include <algorithm>
#include <utility>

#include "tools/operand_text.h"

namespace intra::calc {
namespace {

constexpr int kWidth19 = static_cast<int>(kWidth);
constexpr std::string_view kLabel = "+ - * /  KALKULATOR";

}  // namespace

CalculatorWindow::CalculatorWindow(Console& con, SavedRegion background, int& lx_kalk)
    : con_(con), background_(std::move(background)), lx_(lx_kalk) {
  lx_ = std::clamp(lx_, kLeftmost, kRightmost);
}

Attribute CalculatorWindow::attr_of(std::string_view colour) const {
  Attribute attr = con_.colours().standard;
  ColourSetting::parse_pair(colour, attr);
  return attr;
}

void CalculatorWindow::draw_empty() {
  con_.restore(background_);
  const bool colour = con_.is_colour();
  ScreenBuffer& screen = con_.screen();
  screen.fill(kTapeBottom, lx_ - 1, kLabelRow, lx_ + kWidth19, ' ', attr_of(colour ? "B/B" : "G/G"));
  screen.write(kLabelRow, lx_, kLabel, attr_of(colour ? "N/B" : "N/G"));
  screen.fill(kTapeBottom, lx_, kTapeBottom, lx_ + kWidth19 - 1, ' ', tape_attr());
  gora_ = kTapeBottom;
  show_entry(TRANS_(zero_operand()));
}

void CalculatorWindow::show_entry(std::string_view screen_text) {
  con_.screen().write(kEntryRow, lx_, screen_text.substr(0, kWidth), attr_of("W+/RB"));
}

void CalculatorWindow::PUSTE() {
  ScreenBuffer& screen = con_.screen();
  const int right = lx_ + kWidth19 - 1;
  if (gora_ > 0) {
    --gora_;
    screen.fill(gora_, lx_, gora_, right, ' ', tape_attr());
  }
  if (gora_ < kTapeBottom) {
    SavedRegion rows = screen.save(gora_ + 1, lx_, kTapeBottom, right);
    rows.top -= 1;
    rows.bottom -= 1;
    screen.restore(rows);
  }
  screen.fill(kTapeBottom, lx_, kTapeBottom, right, ' ', tape_attr());
}

void CalculatorWindow::SAY_XY_(std::string_view text) {
  const std::string line = right_aligned(text).substr(0, kWidth);
  for (int i = 0; i < kWidth19; ++i) {
    if (line[i] != ' ') con_.screen().write(kTapeBottom, lx_ + i, std::string_view(&line[i], 1), tape_attr());
  }
}

void CalculatorWindow::clear_sign() { con_.screen().write(kTapeBottom, lx_ + kWidth19 - 1, " ", tape_attr()); }

void CalculatorWindow::move(int step) {
  const int target = lx_ + step;
  if (step == 0 || target < kLeftmost || target > kRightmost) return;
  ScreenBuffer& screen = con_.screen();
  SavedRegion window = screen.save(gora_, lx_ - 1, kLabelRow, lx_ + kWidth19);
  // The screen behind the window as it was before the calculator.
  SavedRegion behind{gora_, lx_ - 1, kLabelRow, lx_ + kWidth19, {}};
  for (int r = behind.top; r <= behind.bottom; ++r)
    for (int c = behind.left; c <= behind.right; ++c)
      behind.cells.push_back(background_.cells[static_cast<std::size_t>(r * ScreenBuffer::kCols + c)]);
  screen.restore(behind);
  lx_ = target;
  window.left += step;
  window.right += step;
  screen.restore(window);
}

}  // namespace intra::calc
