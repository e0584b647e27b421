#include "screen/menu.h"

#include <algorithm>
#include <utility>

#include "main/run_settings.h"
#include "screen/cp852.h"
#include "screen/key_codes.h"

namespace intra {

Menu::Menu(Console& con) : con_(con) {}

Menu& Menu::item(int row, int col, std::string text, std::string message) {
  items_.push_back(MenuItem{row, col, std::move(text), std::move(message)});
  return *this;
}

Menu& Menu::messages_at(int row, bool centred) {
  message_row_ = row;
  centred_ = centred;
  return *this;
}

void Menu::draw_item(std::size_t index, bool current) {
  const MenuItem& it = items_[index];
  con_.say(it.row, it.col, it.text, current ? con_.colours().enhanced : con_.colours().standard);
  con_.set_pos(it.row, it.col);
}

void Menu::show_message(std::size_t index) {
  std::size_t widest = 0;
  for (const MenuItem& it : items_) widest = std::max(widest, it.message.size());
  if (widest == 0) return;  // a menu without messages leaves the message row alone
  const auto width = static_cast<int>(std::min<std::size_t>(widest, ScreenBuffer::kCols));
  const int area_left = centred_ ? (ScreenBuffer::kCols - width) / 2 : 0;
  con_.clear_rect(message_row_, area_left, message_row_, area_left + width - 1);
  const std::string& message = items_[index].message;
  const int col = centred_ ? std::max(0, (ScreenBuffer::kCols - static_cast<int>(message.size())) / 2) : 0;
  con_.say(message_row_, col, message);
}

int Menu::item_for_letter(int key) const {
  if (key < 32 || key > 255) return 0;
  const char wanted = upper_case_852(static_cast<char>(key));
  for (std::size_t i = 0; i < items_.size(); ++i) {
    const std::string& text = items_[i].text;
    const std::size_t first = text.find_first_not_of(' ');
    if (first != std::string::npos && upper_case_852(text[first]) == wanted) return static_cast<int>(i) + 1;
  }
  return 0;
}

int Menu::choose(int start) {
  if (items_.empty()) return 0;
  const int n = static_cast<int>(items_.size());
  int current = start >= 1 && start <= n ? start - 1 : 0;
  for (std::size_t i = 0; i < items_.size(); ++i) draw_item(i, false);

  const auto highlight = [&] {
    draw_item(static_cast<std::size_t>(current), true);
    show_message(static_cast<std::size_t>(current));
    con_.set_pos(items_[current].row, items_[current].col);
  };
  const auto move_to = [&](int next) {
    draw_item(static_cast<std::size_t>(current), false);
    if (run_settings().menu_wrap)
      current = (next % n + n) % n;  // past either end comes the other
    else
      current = std::clamp(next, 0, n - 1);
    highlight();
  };

  highlight();
  for (;;) {
    const int key = con_.wait_key_with_hot_keys(highlight);
    switch (key) {
      case key::kUp:
      case key::kLeft: move_to(current - 1); break;
      case key::kDown:
      case key::kRight: move_to(current + 1); break;
      case key::kHome: move_to(0); break;
      case key::kEnd: move_to(n - 1); break;
      case key::kEnter: return current + 1;
      case key::kEsc: return 0;
      default:
        if (const int chosen = item_for_letter(key); chosen != 0) {
          move_to(chosen - 1);
          return chosen;
        }
        break;  // other keys are ignored
    }
  }
}

}  // namespace intra
