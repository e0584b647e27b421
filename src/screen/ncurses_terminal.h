#pragma once
// The real terminal: shows the 80x25 screen buffer at the top-left of the
// terminal window in colour (or in bold/reverse on a monochrome terminal)
// and hands over keys decoded from the raw input.
//
// The terminal is in raw mode, so Ctrl+C and the other break keys are plain
// keys; the decoder, not the terminal library, reads escape sequences. Like
// every backend it never blocks: a lone ESC becomes the Esc key once the
// clock shows that nothing followed it for a short while.
//
// A window smaller than 80x25 shows a message instead of a broken screen and
// delivers no keys until it is large enough again; then the whole screen is
// drawn anew.
//
// The terminal is restored (endwin) exactly once on every way out: shutdown(),
// the destructor, exit() and fatal signals. Only one instance can exist.
#include <array>
#include <cstdint>
#include <optional>

#include "main/clock.h"
#include "screen/key_decoder.h"
#include "screen/screen_buffer.h"
#include "screen/terminal.h"

struct screen;  // the terminal library's screen, kept opaque here

namespace intra {

// What a terminal can do with colour.
enum class TerminalColours { Mono, Eight, Sixteen };

// How a PC attribute looks on such a terminal. Colours are in the terminal
// library's numbering (red 1, green 2, blue 4; +8 bright); a monochrome
// terminal ignores them and relies on the flags.
struct CellLook {
  int fg = 7, bg = 0;
  bool bold = false, blink = false, reverse = false, invisible = false;
  friend bool operator==(const CellLook&, const CellLook&) = default;
};
// Bright foreground: a bright colour where there are sixteen, else bold.
// Blink: a bright background where there are sixteen colours (as the PC
// console shows it with blinking off), else blinking. Monochrome: a light
// background (green, cyan, brown, white) is reversed; text in its own
// background colour stays invisible.
CellLook look_of(Attribute attr, TerminalColours colours);

class NcursesTerminal final : public TerminalBackend {
 public:
  // Throws std::runtime_error with a message for the user when standard
  // input or output is not a terminal, the terminal type is unknown, code
  // page 852 conversion is missing, or another instance is active.
  explicit NcursesTerminal(const Clock& clock);
  ~NcursesTerminal() override;
  NcursesTerminal(const NcursesTerminal&) = delete;
  NcursesTerminal& operator=(const NcursesTerminal&) = delete;

  void present(const ScreenBuffer& screen) override;
  std::optional<int> poll_key() override;
  bool is_colour() const override { return colour_; }
  int poll_interval_ms() const override { return 10; }

  // Gives the terminal back to the shell; afterwards nothing is drawn and no
  // keys come. Safe to call more than once.
  void shutdown();

 private:
  // How a cell attribute is drawn: terminal attributes and a colour pair.
  struct Style {
    std::uint32_t attrs = 0;  // the library's attr_t bits
    short pair = 0;
  };

  // Takes everything the terminal has sent; true when it reported a resize.
  bool read_input();
  // Follows the window size: the message while too small, a full redraw
  // whenever it changed (or `force`).
  void check_size(bool force);
  void draw();
  void draw_too_small_message(int rows, int cols);
  void draw_changed_cells();
  void place_cursor();
  void set_cursor_mode(int mode);
  const Style& style_of(Attribute attr);
  Style compute_style(Attribute attr);
  short colour_pair(int fg, int bg);

  const Clock& clock_;
  ::screen* curses_screen_ = nullptr;
  KeyDecoder decoder_;
  Clock::Duration last_input_{0};
  bool active_ = false;
  bool colour_ = false;
  TerminalColours colours_ = TerminalColours::Mono;
  bool too_small_ = false;
  int rows_ = 0, cols_ = 0;

  // The buffer last handed to present(), kept to redraw after a resize, and
  // what the terminal shows now (valid only while shown_valid_).
  ScreenBuffer wanted_;
  bool has_wanted_ = false;
  ScreenBuffer shown_;
  bool shown_valid_ = false;
  int cursor_mode_ = -1;  // what curs_set was last given

  // The wide character each code page 852 byte is drawn as.
  std::array<wchar_t, 256> glyphs_{};
  std::array<std::optional<Style>, 256> styles_{};
  // Colour pairs handed out so far, by foreground * 16 + background.
  std::array<short, 256> pairs_{};
  short next_pair_ = 1;
};

}  // namespace intra
