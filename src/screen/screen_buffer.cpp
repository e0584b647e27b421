#include "screen/screen_buffer.h"

#include <algorithm>

namespace intra {
namespace {

struct Frame {
  std::uint8_t top_left, top_right, bottom_left, bottom_right, horizontal, vertical;
};
// Box-drawing characters of code page 852.
constexpr Frame kSingle{0xDA, 0xBF, 0xC0, 0xD9, 0xC4, 0xB3};
constexpr Frame kDouble{0xC9, 0xBB, 0xC8, 0xBC, 0xCD, 0xBA};

}  // namespace

bool ScreenBuffer::clip(int& top, int& left, int& bottom, int& right) {
  top = std::max(top, 0);
  left = std::max(left, 0);
  bottom = std::min(bottom, kRows - 1);
  right = std::min(right, kCols - 1);
  return top <= bottom && left <= right;
}

int ScreenBuffer::write(int row, int col, std::string_view text, Attribute attr) {
  if (row >= 0 && row < kRows) {
    for (std::size_t i = 0; i < text.size(); ++i) {
      const int c = col + static_cast<int>(i);
      if (c >= kCols) break;
      if (c < 0) continue;
      cells_[row * kCols + c] = Cell{static_cast<std::uint8_t>(text[i]), attr};
    }
    ++version_;
  }
  return col + static_cast<int>(text.size());
}

void ScreenBuffer::fill(int top, int left, int bottom, int right, std::uint8_t ch, Attribute attr) {
  if (!clip(top, left, bottom, right)) return;
  for (int r = top; r <= bottom; ++r)
    for (int c = left; c <= right; ++c) cells_[r * kCols + c] = Cell{ch, attr};
  ++version_;
}

void ScreenBuffer::box(int top, int left, int bottom, int right, BoxType type, Attribute attr) {
  const Frame& f = type == BoxType::Double ? kDouble : kSingle;
  auto put = [&](int r, int c, std::uint8_t ch) {
    if (r >= 0 && r < kRows && c >= 0 && c < kCols) cells_[r * kCols + c] = Cell{ch, attr};
  };
  if (bottom < top || right < left) return;
  if (top == bottom) {
    for (int c = left; c <= right; ++c) put(top, c, f.horizontal);
  } else if (left == right) {
    for (int r = top; r <= bottom; ++r) put(r, left, f.vertical);
  } else {
    for (int c = left + 1; c < right; ++c) {
      put(top, c, f.horizontal);
      put(bottom, c, f.horizontal);
    }
    for (int r = top + 1; r < bottom; ++r) {
      put(r, left, f.vertical);
      put(r, right, f.vertical);
    }
    put(top, left, f.top_left);
    put(top, right, f.top_right);
    put(bottom, left, f.bottom_left);
    put(bottom, right, f.bottom_right);
  }
  ++version_;
}

SavedRegion ScreenBuffer::save(int top, int left, int bottom, int right) const {
  SavedRegion region;
  if (!clip(top, left, bottom, right)) return region;
  region.top = top;
  region.left = left;
  region.bottom = bottom;
  region.right = right;
  region.cells.reserve(static_cast<std::size_t>((bottom - top + 1) * (right - left + 1)));
  for (int r = top; r <= bottom; ++r)
    for (int c = left; c <= right; ++c) region.cells.push_back(at(r, c));
  return region;
}

void ScreenBuffer::restore(const SavedRegion& region) {
  std::size_t i = 0;
  for (int r = region.top; r <= region.bottom; ++r)
    for (int c = region.left; c <= region.right && i < region.cells.size(); ++c)
      cells_[r * kCols + c] = region.cells[i++];
  ++version_;
}

void ScreenBuffer::set_cursor(int row, int col) {
  cursor_row_ = std::clamp(row, 0, kRows - 1);
  cursor_col_ = std::clamp(col, 0, kCols - 1);
  ++version_;
}

std::string ScreenBuffer::row_text(int row) const {
  std::string s(kCols, ' ');
  if (row < 0 || row >= kRows) return s;
  for (int c = 0; c < kCols; ++c) s[c] = static_cast<char>(at(row, c).ch);
  return s;
}

}  // namespace intra
