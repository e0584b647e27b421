#pragma once
// The 80x25 text screen as the program draws it: one code page 852 byte and
// one attribute per cell, the cursor and its visibility. Every drawing
// service works on this buffer; a terminal backend only shows it.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "screen/colour.h"

namespace intra {

struct Cell {
  std::uint8_t ch = ' ';
  Attribute attr = ColourSetting::kDefaultStandard;
  friend bool operator==(const Cell&, const Cell&) = default;
};

// A saved rectangle: its position and cells, row by row.
struct SavedRegion {
  int top = 0, left = 0, bottom = -1, right = -1;
  std::vector<Cell> cells;
};

enum class BoxType { Single = 1, Double = 2 };

class ScreenBuffer {
 public:
  static constexpr int kRows = 25;
  static constexpr int kCols = 80;

  const Cell& at(int row, int col) const { return cells_[row * kCols + col]; }
  // Writes text from (row, col), clipped at the right edge. Returns the column after it.
  int write(int row, int col, std::string_view text, Attribute attr);
  void fill(int top, int left, int bottom, int right, std::uint8_t ch, Attribute attr);
  // Frame of single or double lines; one row high draws a horizontal line,
  // one column wide a vertical line. The inside is left as it is.
  void box(int top, int left, int bottom, int right, BoxType type, Attribute attr);
  SavedRegion save(int top, int left, int bottom, int right) const;
  void restore(const SavedRegion& region);

  int cursor_row() const { return cursor_row_; }
  int cursor_col() const { return cursor_col_; }
  void set_cursor(int row, int col);
  bool cursor_visible() const { return cursor_visible_; }
  void show_cursor(bool visible) { cursor_visible_ = visible; ++version_; }

  // The characters of a row as code page 852 text (80 bytes), for tests and copies.
  std::string row_text(int row) const;
  // Increases on every change, so a backend knows when to redraw.
  std::uint64_t version() const { return version_; }

 private:
  static bool clip(int& top, int& left, int& bottom, int& right);
  std::array<Cell, kRows * kCols> cells_{};
  int cursor_row_ = 0, cursor_col_ = 0;
  bool cursor_visible_ = false;
  std::uint64_t version_ = 0;
};

}  // namespace intra
