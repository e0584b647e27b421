#include "screen/console.h"

#include <algorithm>
#include <stdexcept>

namespace intra {

Console::Console(TerminalBackend& terminal, Clock& clock) : terminal_(terminal), clock_(clock) {}

void Console::say(int row, int col, std::string_view text) { say(row, col, text, colours_.standard); }

void Console::say(int row, int col, std::string_view text, Attribute attr) {
  const int end = screen_.write(row, col, text, attr);
  screen_.set_cursor(row, std::min(end, ScreenBuffer::kCols - 1));
}

void Console::say_in(std::string_view colour, int row, int col, std::string_view text) {
  Attribute attr = colours_.standard;
  ColourSetting::parse_pair(colour.substr(0, colour.find(',')), attr);
  say(row, col, text, attr);
}

void Console::scroll_up() {
  for (int r = 1; r < ScreenBuffer::kRows; ++r) {
    SavedRegion line = screen_.save(r, 0, r, ScreenBuffer::kCols - 1);
    line.top = line.bottom = r - 1;
    screen_.restore(line);
  }
  screen_.fill(ScreenBuffer::kRows - 1, 0, ScreenBuffer::kRows - 1, ScreenBuffer::kCols - 1, ' ', colours_.standard);
}

void Console::out(std::string_view text) {
  int r = screen_.cursor_row(), c = screen_.cursor_col();
  for (char ch : text) {
    if (c >= ScreenBuffer::kCols) {
      c = 0;
      if (++r >= ScreenBuffer::kRows) {
        scroll_up();
        r = ScreenBuffer::kRows - 1;
      }
    }
    screen_.write(r, c++, std::string_view(&ch, 1), colours_.standard);
  }
  screen_.set_cursor(r, std::min(c, ScreenBuffer::kCols - 1));
}

void Console::out_line(std::string_view text) {
  int r = screen_.cursor_row() + 1;
  if (r >= ScreenBuffer::kRows) {
    scroll_up();
    r = ScreenBuffer::kRows - 1;
  }
  screen_.set_cursor(r, 0);
  out(text);
}

void Console::clear() {
  screen_.fill(0, 0, ScreenBuffer::kRows - 1, ScreenBuffer::kCols - 1, ' ', colours_.standard);
  screen_.set_cursor(0, 0);
}

void Console::clear_rect(int top, int left, int bottom, int right) {
  screen_.fill(top, left, bottom, right, ' ', colours_.standard);
  screen_.set_cursor(std::max(top, 0), std::max(left, 0));
}

void Console::box(int top, int left, int bottom, int right, BoxType type) {
  box(top, left, bottom, right, type, colours_.standard);
}

void Console::box(int top, int left, int bottom, int right, BoxType type, Attribute attr) {
  screen_.box(top, left, bottom, right, type, attr);
}

std::string Console::set_colour(std::string_view setting) {
  std::string previous = colour_text_;
  colours_ = ColourSetting::parse(setting, colours_);
  colour_text_ = std::string(setting);
  return previous;
}

void Console::refresh() {
  if (screen_.version() == presented_version_) return;
  terminal_.present(screen_);
  presented_version_ = screen_.version();
}

int Console::take_key() {
  if (!pushed_.empty()) {
    const int k = pushed_.front();
    pushed_.pop_front();
    return k;
  }
  const auto k = terminal_.poll_key();
  return k ? *k : 0;
}

int Console::poll_key() {
  refresh();
  const int k = take_key();
  if (k != 0) last_key_ = k;
  return k;
}

int Console::inkey(double seconds) {
  refresh();
  const Clock::Duration start = clock_.elapsed();
  const auto limit = Clock::Duration(static_cast<long long>(seconds * 1000.0));
  for (;;) {
    if (const int k = take_key(); k != 0) {
      last_key_ = k;
      return k;
    }
    const Clock::Duration waited = clock_.elapsed() - start;
    if (seconds > 0 && waited >= limit) return 0;
    if (seconds <= 0 && terminal_.input_exhausted()) throw KeyboardScriptExhausted();
    Clock::Duration step(terminal_.poll_interval_ms());
    if (seconds > 0) step = std::min(step, limit - waited);
    clock_.sleep(step);
  }
}

int Console::next_key() {
  if (pushed_.empty()) {
    const auto k = terminal_.poll_key();
    if (!k) return 0;
    pushed_.push_back(*k);
  }
  return pushed_.front();
}

void Console::push_keys(std::initializer_list<int> keys) {
  for (int k : keys) pushed_.push_back(k);
}

int Console::wait_key_with_hot_keys() { return wait_key_with_hot_keys({}); }

int Console::wait_key_with_hot_keys(const std::function<void()>& after_hot_key) {
  for (;;) {
    const int k = inkey(0);
    if (!run_hot_key(k)) return k;
    if (after_hot_key) after_hot_key();
  }
}

void Console::sleep(double seconds) {
  refresh();
  clock_.sleep(Clock::Duration(static_cast<long long>(seconds * 1000.0)));
}

void Console::bind_hot_key(int code, std::function<void()> handler) {
  if (handler)
    hot_keys_[code] = std::move(handler);
  else
    hot_keys_.erase(code);
}

bool Console::run_hot_key(int code) {
  const auto it = hot_keys_.find(code);
  if (it == hot_keys_.end() || hot_key_running_[code]) return false;
  const std::function<void()> handler = it->second;  // the handler may rebind the key
  hot_key_running_[code] = true;
  try {
    handler();
  } catch (...) {
    hot_key_running_[code] = false;
    throw;
  }
  hot_key_running_[code] = false;
  return true;
}

namespace {
Console* g_console = nullptr;
}

Console& console() {
  if (!g_console) throw std::logic_error("no console installed");
  return *g_console;
}

void set_console(Console* c) { g_console = c; }
bool has_console() { return g_console != nullptr; }

}  // namespace intra
