#pragma once
// A terminal for tests: keeps what was last presented, serves keys from a
// script (now, or once the virtual clock has reached a given time) and
// reports when the script has run out, so a test never hangs or sleeps.
#include <deque>
#include <string_view>
#include <vector>

#include "main/clock.h"
#include "screen/terminal.h"

namespace intra {

class VirtualTerminal final : public TerminalBackend {
 public:
  explicit VirtualTerminal(const Clock& clock, bool colour = true) : clock_(clock), colour_(colour) {}

  // Keys available at once, in order.
  void type(std::initializer_list<int> keys);
  void type(const std::vector<int>& keys);
  // Each byte of the text as a key (code page 852 bytes, as typed characters).
  void type_text(std::string_view text);
  // Keys that become available once the clock has run `after` from now.
  void type_after(Clock::Duration after, std::initializer_list<int> keys);

  std::size_t keys_left() const { return keys_.size(); }
  const ScreenBuffer& presented() const { return presented_; }
  int present_count() const { return presents_; }
  void set_colour(bool colour) { colour_ = colour; }

  void present(const ScreenBuffer& screen) override;
  std::optional<int> poll_key() override;
  bool is_colour() const override { return colour_; }
  bool input_exhausted() const override { return keys_.empty(); }
  int poll_interval_ms() const override { return 50; }

 private:
  struct Scripted {
    Clock::Duration at;
    int key;
  };
  const Clock& clock_;
  bool colour_;
  std::deque<Scripted> keys_;
  ScreenBuffer presented_;
  int presents_ = 0;
};

}  // namespace intra
