#pragma once
// What the console needs of a terminal: show the screen buffer, hand over
// decoded keys without waiting, tell colour from monochrome. Waiting is the
// console's, through the clock. Implementations: NcursesTerminal for a real
// terminal, VirtualTerminal for tests.
#include <optional>

#include "screen/screen_buffer.h"

namespace intra {

class TerminalBackend {
 public:
  virtual ~TerminalBackend() = default;
  // Brings the terminal in line with the buffer (only what changed).
  virtual void present(const ScreenBuffer& screen) = 0;
  // The next key code if one is available now (key codes: screen/key_codes.h).
  virtual std::optional<int> poll_key() = 0;
  virtual bool is_colour() const = 0;
  // True when no key can ever arrive again (a test's script has run out):
  // waiting without a time limit would never end.
  virtual bool input_exhausted() const { return false; }
  // How long the console sleeps between two polls while waiting.
  virtual int poll_interval_ms() const { return 10; }
};

}  // namespace intra
