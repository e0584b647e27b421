#pragma once
// A virtual console for calculator tests that keeps every screen it was
// shown, with the virtual time it was shown at, so a test can look at what
// the user saw while the calculator waited for a given key. Keys are typed
// a moment after the start, since the calculator discards keys typed ahead.
#include <chrono>
#include <string>
#include <vector>

#include "main/clock.h"
#include "screen/console.h"
#include "screen/key_codes.h"
#include "screen/virtual_terminal.h"
#include "tools/calculator.h"
#include "tools/editing_field.h"
#include "tools/operand_text.h"

namespace intra::testing {

class FilmTerminal final : public TerminalBackend {
 public:
  struct Frame {
    Clock::Duration at;
    ScreenBuffer screen;
  };
  explicit FilmTerminal(const Clock& clock) : clock_(clock), keys_(clock) {}

  VirtualTerminal& keys() { return keys_; }
  const std::vector<Frame>& frames() const { return frames_; }

  void present(const ScreenBuffer& screen) override {
    keys_.present(screen);
    frames_.push_back({clock_.elapsed(), screen});
  }
  std::optional<int> poll_key() override { return keys_.poll_key(); }
  bool is_colour() const override { return colour_; }
  bool input_exhausted() const override { return keys_.input_exhausted(); }
  int poll_interval_ms() const override { return keys_.poll_interval_ms(); }
  void set_colour(bool colour) { colour_ = colour; }

 private:
  const Clock& clock_;
  VirtualTerminal keys_;
  std::vector<Frame> frames_;
  bool colour_ = true;
};

struct CalculatorScreen {
  static constexpr Clock::Duration kTyped{10};     // when the script's keys arrive
  static constexpr Clock::Duration kClosing{60000};  // when the closing Esc arrives

  VirtualClock clock;
  FilmTerminal terminal{clock};
  Console con{terminal, clock};

  CalculatorScreen() {
    set_run_clock(&clock);
    set_console(&con);
    calculator_memory() = CalculatorMemory{};
    set_editing_field_query({});
  }
  ~CalculatorScreen() {
    set_editing_field_query({});
    con.bind_hot_key(key::kAltK, {});
    set_console(nullptr);
    set_run_clock(nullptr);
  }

  // The script's keys a moment from now, then Esc a minute later.
  void script(const std::vector<int>& keys, bool close = true) {
    for (const int k : keys) terminal.keys().type_after(kTyped, {k});
    if (close) terminal.keys().type_after(kClosing, {key::kEsc});
  }

  // The screen the user saw just before the closing Esc.
  const ScreenBuffer& before_closing() const { return seen_before(kClosing); }
  // The last screen shown before the virtual time `t`.
  const ScreenBuffer& seen_before(Clock::Duration t) const {
    const ScreenBuffer* last = &terminal.frames().front().screen;
    for (const auto& frame : terminal.frames())
      if (frame.at < t) last = &frame.screen;
    return *last;
  }

  static int x() { return calculator_memory().LX_KALK; }
  static std::string entry(const ScreenBuffer& s) { return calc::trimmed(s.row_text(23).substr(x(), 19)); }
  // The tape's rows from the top down (the rows in the tape's colour above
  // the entry line), each without outer blanks.
  static std::vector<std::string> tape(const ScreenBuffer& s) {
    Attribute tape_attr{};
    ColourSetting::parse_pair("N/W", tape_attr);
    int top = 22;
    while (top > 0 && s.at(top - 1, x()).attr == tape_attr) --top;
    std::vector<std::string> lines;
    for (int r = top; r <= 22; ++r) lines.push_back(calc::trimmed(s.row_text(r).substr(x(), 19)));
    return lines;
  }
};

}  // namespace intra::testing
