#include "screen/alert.h"

#include <algorithm>
#include <utility>

#include "screen/cp852.h"
#include "screen/key_codes.h"

namespace intra {
namespace {

constexpr Attribute kBoxColour = make_attribute(7, 4, true);     // W+/R
constexpr Attribute kChosenColour = make_attribute(7, 1, true);  // W+/B
constexpr std::size_t kMaxLines = ScreenBuffer::kRows - 6;      // frame, blank row, buttons, a margin
constexpr std::size_t kMaxInside = ScreenBuffer::kCols - 4;     // frame and one blank each side
constexpr std::size_t kButtonGap = 2;

void wrap_into(std::string_view part, std::size_t width, std::vector<std::string>& lines) {
  std::string line;
  std::size_t i = 0;
  while (i < part.size()) {
    if (part[i] == ' ') {
      ++i;
      continue;
    }
    std::size_t end = part.find(' ', i);
    if (end == std::string_view::npos) end = part.size();
    std::string_view word = part.substr(i, end - i);
    i = end;
    while (word.size() > width) {  // a word wider than the box is cut into pieces
      if (!line.empty()) lines.push_back(std::exchange(line, {}));
      lines.emplace_back(word.substr(0, width));
      word.remove_prefix(width);
    }
    if (word.empty()) continue;
    if (!line.empty() && line.size() + 1 + word.size() > width) lines.push_back(std::exchange(line, {}));
    if (!line.empty()) line += ' ';
    line += word;
  }
  lines.push_back(line);  // an empty part stays as an empty line
}

// Where the box and its buttons go for one message.
struct Layout {
  std::vector<std::string> lines;
  std::vector<std::string> buttons;  // " text ", as drawn
  std::vector<int> button_cols;
  int top = 0, left = 0, bottom = 0, right = 0;
};

Layout lay_out(std::string_view message, const std::vector<std::string>& choices) {
  Layout l;
  l.lines = alert_lines(message, kAlertTextWidth);
  if (l.lines.size() > kMaxLines) l.lines.resize(kMaxLines);
  for (const std::string& choice : choices) l.buttons.push_back(" " + choice + " ");
  if (l.buttons.empty()) l.buttons.push_back(" Ok ");

  std::size_t buttons_width = 0;
  for (const std::string& b : l.buttons) buttons_width += b.size();
  buttons_width += kButtonGap * (l.buttons.size() - 1);
  std::size_t inside = buttons_width;
  for (const std::string& line : l.lines) inside = std::max(inside, line.size());
  inside = std::min(inside, kMaxInside);

  const int width = static_cast<int>(inside) + 4;
  const int height = static_cast<int>(l.lines.size()) + 4;
  l.top = (ScreenBuffer::kRows - height) / 2;
  l.left = (ScreenBuffer::kCols - width) / 2;
  l.bottom = l.top + height - 1;
  l.right = l.left + width - 1;

  // Buttons that do not fit run off the right edge of the box and are clipped there.
  int col = l.left + 2 + std::max(0, (static_cast<int>(inside) - static_cast<int>(buttons_width)) / 2);
  for (const std::string& b : l.buttons) {
    l.button_cols.push_back(col);
    col += static_cast<int>(b.size() + kButtonGap);
  }
  return l;
}

int button_for_letter(const std::vector<std::string>& buttons, int key) {
  if (key < 32 || key > 255) return 0;
  const char wanted = upper_case_852(static_cast<char>(key));
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    const std::size_t first = buttons[i].find_first_not_of(' ');
    if (first != std::string::npos && upper_case_852(buttons[i][first]) == wanted) return static_cast<int>(i) + 1;
  }
  return 0;
}

}  // namespace

std::vector<std::string> alert_lines(std::string_view message, std::size_t width) {
  std::vector<std::string> lines;
  width = std::max<std::size_t>(width, 1);
  std::size_t start = 0;
  for (;;) {
    const std::size_t semicolon = message.find(';', start);
    wrap_into(message.substr(start, semicolon == std::string_view::npos ? std::string_view::npos : semicolon - start),
              width, lines);
    if (semicolon == std::string_view::npos) break;
    start = semicolon + 1;
  }
  return lines;
}

int alert(std::string_view message, const std::vector<std::string>& choices, Console& con) {
  const Layout l = lay_out(message, choices);
  const SavedRegion under = con.save(l.top, l.left, l.bottom, l.right);
  const bool cursor_was_visible = con.cursor_visible();
  const int cursor_row = con.row(), cursor_col = con.col();
  // The box goes away however the wait ends (a test's key script may run out).
  struct Restore {
    Console& con;
    const SavedRegion& under;
    bool cursor_visible;
    int row, col;
    ~Restore() {
      con.restore(under);
      con.show_cursor(cursor_visible);
      con.set_pos(row, col);
    }
  } restore{con, under, cursor_was_visible, cursor_row, cursor_col};

  con.show_cursor(false);
  con.screen().fill(l.top, l.left, l.bottom, l.right, ' ', kBoxColour);
  con.box(l.top, l.left, l.bottom, l.right, BoxType::Double, kBoxColour);
  const int inside = l.right - l.left - 3;
  for (std::size_t i = 0; i < l.lines.size(); ++i) {
    const std::string& line = l.lines[i];
    const int col = l.left + 2 + std::max(0, (inside - static_cast<int>(line.size())) / 2);
    con.say(l.top + 1 + static_cast<int>(i), col, line.substr(0, static_cast<std::size_t>(inside)), kBoxColour);
  }

  const int n = static_cast<int>(l.buttons.size());
  const int buttons_row = l.bottom - 1;
  const auto draw_buttons = [&](int current) {
    for (int i = 0; i < n; ++i) {
      const int col = l.button_cols[i];
      const int room = l.right - 1 - col;  // never over the frame
      if (room <= 0) break;
      con.say(buttons_row, col, std::string_view(l.buttons[i]).substr(0, static_cast<std::size_t>(room)),
              i == current ? kChosenColour : kBoxColour);
    }
  };

  int current = 0;
  for (;;) {
    draw_buttons(current);
    const int key = con.inkey(0);
    switch (key) {
      case key::kLeft:
      case key::kShiftTab: current = (current + n - 1) % n; break;
      case key::kRight:
      case key::kTab: current = (current + 1) % n; break;
      case key::kHome: current = 0; break;
      case key::kEnd: current = n - 1; break;
      case key::kEnter: return current + 1;
      case key::kEsc: return 0;
      default:
        if (const int chosen = button_for_letter(l.buttons, key); chosen != 0) return chosen;
        break;
    }
  }
}

}  // namespace intra
