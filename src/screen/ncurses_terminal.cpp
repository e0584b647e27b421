#include "screen/ncurses_terminal.h"

#include <langinfo.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <cwchar>
#include <stdexcept>
#include <string>
#include <string_view>

#include "screen/cp852.h"

// Functions instead of macros: the library's macros (clear, erase, move,
// refresh ...) would rewrite ordinary member calls below.
#define NCURSES_NOMACROS
#ifndef NCURSES_WIDECHAR
#define NCURSES_WIDECHAR 1
#endif
#include <ncursesw/curses.h>

static_assert(sizeof(attr_t) <= sizeof(std::uint32_t), "terminal attributes must fit the stored style");

namespace intra {
namespace {

// Escape sequences arrive in one burst; a gap this long after an ESC means
// the Esc key alone was pressed.
constexpr Clock::Duration kLoneEscapeWait{40};
// Bounds one poll's reading, so a flood of input cannot hold the program.
constexpr int kMaxReadsPerPoll = 512;

// --- restoring the terminal on every way out -------------------------------

// Set while endwin() is owed. Cleared before endwin() runs, so a signal
// arriving during shutdown cannot end the library twice.
volatile std::sig_atomic_t g_endwin_owed = 0;
bool g_instance_exists = false;
bool g_atexit_registered = false;

// Signals after which the process ends: the terminal must be given back
// first, or the shell is left without echo and with our colours.
constexpr std::array<int, 8> kFatalSignals = {SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGSEGV, SIGABRT, SIGBUS, SIGFPE};
// The library installs handlers for these itself; they are put back as they
// were before it, together with ours, when the terminal is shut down.
constexpr std::array<int, 10> kSignalsToRestore = {SIGTERM, SIGINT, SIGHUP,  SIGQUIT, SIGSEGV,
                                                   SIGABRT, SIGBUS, SIGFPE, SIGTSTP, SIGWINCH};
std::array<struct sigaction, kSignalsToRestore.size()> g_previous_actions{};

void end_curses_once() {
  if (g_endwin_owed != 0) {
    g_endwin_owed = 0;
    endwin();
  }
}

// endwin() is not async-signal-safe, but the process is about to die and a
// usable shell is worth the risk; the default action then ends the process
// as the signal intended (core dump included).
void restore_terminal_on_signal(int sig) {
  end_curses_once();
  std::signal(sig, SIG_DFL);
  std::raise(sig);
}

void restore_terminal_at_exit() { end_curses_once(); }

void save_signal_actions() {
  for (std::size_t i = 0; i < kSignalsToRestore.size(); ++i)
    sigaction(kSignalsToRestore[i], nullptr, &g_previous_actions[i]);
}

void install_fatal_signal_handlers() {
  struct sigaction action {};
  action.sa_handler = restore_terminal_on_signal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;
  for (int sig : kFatalSignals) sigaction(sig, &action, nullptr);
}

void restore_signal_actions() {
  for (std::size_t i = 0; i < kSignalsToRestore.size(); ++i)
    sigaction(kSignalsToRestore[i], &g_previous_actions[i], nullptr);
}

// --- characters -------------------------------------------------------------

// Only the character type follows the environment: numbers and dates are
// formatted by the program itself, and a national LC_NUMERIC would put
// decimal commas into them. A plain C locale cannot show a single box line,
// so UTF-8 is assumed there, as every current terminal speaks it.
void choose_character_locale() {
  std::setlocale(LC_CTYPE, "");
  if (std::string_view(nl_langinfo(CODESET)) == "ANSI_X3.4-1968") std::setlocale(LC_CTYPE, "C.UTF-8");
}

// What to draw for a character the terminal's locale cannot show.
wchar_t ascii_stand_in(char32_t c) {
  if (c == U'─' || c == U'═') return c == U'─' ? L'-' : L'=';
  if (c == U'│' || c == U'║') return L'|';
  if (c >= 0x2500 && c <= 0x257F) return L'+';  // corners and crossings
  if (c >= 0x2580 && c <= 0x259F) return L'#';  // blocks and shades
  return L'?';
}

std::array<wchar_t, 256> build_glyphs() {
  std::array<wchar_t, 256> glyphs{};
  for (int b = 0; b < 256; ++b) {
    const char32_t c = cp852_to_unicode(static_cast<std::uint8_t>(b));
    const auto w = static_cast<wchar_t>(c);
    glyphs[static_cast<std::size_t>(b)] = wcwidth(w) == 1 ? w : ascii_stand_in(c);
  }
  return glyphs;
}

// --- colours ----------------------------------------------------------------

// PC colour bits are blue 1, green 2, red 4; the library's are red 1, green 2, blue 4.
constexpr std::array<int, 8> kPcToCurses = {COLOR_BLACK, COLOR_BLUE,    COLOR_GREEN,  COLOR_CYAN,
                                            COLOR_RED,   COLOR_MAGENTA, COLOR_YELLOW, COLOR_WHITE};

std::string too_small_message(int rows, int cols) {
  return "Okno terminala za male: potrzeba " + std::to_string(ScreenBuffer::kCols) + "x" +
         std::to_string(ScreenBuffer::kRows) + ", jest " + std::to_string(cols) + "x" + std::to_string(rows);
}

}  // namespace

CellLook look_of(Attribute attr, TerminalColours colours) {
  const int fg = attr & 7, bg = background_of(attr);
  const bool bright = (attr & 8) != 0, blink = blinks(attr);
  CellLook look;
  look.fg = kPcToCurses[static_cast<std::size_t>(fg)];
  look.bg = kPcToCurses[static_cast<std::size_t>(bg)];
  switch (colours) {
    case TerminalColours::Sixteen:
      if (bright) look.fg += 8;
      if (blink) look.bg += 8;
      break;
    case TerminalColours::Eight:
      look.bold = bright;
      look.blink = blink;
      break;
    case TerminalColours::Mono:
      look.bold = bright;
      look.blink = blink;
      look.reverse = bg == 2 || bg == 3 || bg == 6 || bg == 7;
      look.invisible = fg == bg && !bright;
      break;
  }
  return look;
}

NcursesTerminal::NcursesTerminal(const Clock& clock) : clock_(clock) {
  if (g_instance_exists) throw std::logic_error("NcursesTerminal: only one may be open at a time");
  if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO))
    throw std::runtime_error("Program wymaga terminala: wejscie lub wyjscie standardowe nie jest terminalem");
  cp852_to_unicode(0);  // fails here, with its message, if code page 852 is missing
  choose_character_locale();
  glyphs_ = build_glyphs();  // after the locale, which tells what the terminal can show

  save_signal_actions();
  curses_screen_ = newterm(nullptr, stdout, stdin);
  if (curses_screen_ == nullptr) {
    const char* type = std::getenv("TERM");
    throw std::runtime_error(std::string("Nieznany typ terminala: TERM=") + (type ? type : "(brak)"));
  }
  g_instance_exists = true;
  g_endwin_owed = 1;
  active_ = true;
  install_fatal_signal_handlers();
  if (!g_atexit_registered) g_atexit_registered = std::atexit(restore_terminal_at_exit) == 0;

  raw();  // the break keys are keys, not signals
  noecho();
  nonl();  // Enter arrives as CR and Ctrl+Enter as LF
  keypad(stdscr, FALSE);
  nodelay(stdscr, TRUE);
  intrflush(stdscr, FALSE);
  scrollok(stdscr, FALSE);
  colour_ = has_colors() && start_color() == OK;
  colours_ = !colour_ ? TerminalColours::Mono : COLORS >= 16 ? TerminalColours::Sixteen : TerminalColours::Eight;
  set_cursor_mode(0);
  check_size(true);
}

NcursesTerminal::~NcursesTerminal() { shutdown(); }

void NcursesTerminal::shutdown() {
  if (!active_) return;
  active_ = false;
  end_curses_once();
  delscreen(curses_screen_);
  curses_screen_ = nullptr;
  restore_signal_actions();
  g_instance_exists = false;
}

void NcursesTerminal::present(const ScreenBuffer& screen) {
  if (!active_) return;
  wanted_ = screen;
  has_wanted_ = true;
  check_size(false);
  draw();
}

std::optional<int> NcursesTerminal::poll_key() {
  if (!active_) return std::nullopt;
  check_size(read_input());
  if (too_small_) {
    decoder_.clear();  // what was typed at the message is not meant for the program
    return std::nullopt;
  }
  if (auto k = decoder_.next()) return k;
  if (decoder_.pending() && clock_.elapsed() - last_input_ >= kLoneEscapeWait) {
    decoder_.flush();
    return decoder_.next();
  }
  return std::nullopt;
}

bool NcursesTerminal::read_input() {
  bool resized = false;
  for (int i = 0; i < kMaxReadsPerPoll; ++i) {
    wint_t ch = 0;
    const int got = wget_wch(stdscr, &ch);
    if (got == ERR) break;
    if (got == KEY_CODE_YES) {
      // With the keypad off only the library's resize report comes this way.
      if (ch == KEY_RESIZE) resized = true;
      continue;
    }
    decoder_.feed(static_cast<char32_t>(ch));
    last_input_ = clock_.elapsed();
  }
  return resized;
}

void NcursesTerminal::check_size(bool force) {
  const int rows = getmaxy(stdscr), cols = getmaxx(stdscr);
  if (!force && rows == rows_ && cols == cols_) return;
  rows_ = rows;
  cols_ = cols;
  too_small_ = rows < ScreenBuffer::kRows || cols < ScreenBuffer::kCols;
  shown_valid_ = false;
  werase(stdscr);
  clearok(curscr, TRUE);  // repaint everything: the terminal may have garbled the old screen
  if (too_small_)
    draw_too_small_message(rows, cols);
  else
    draw();
  wrefresh(stdscr);
}

void NcursesTerminal::draw_too_small_message(int rows, int cols) {
  const std::string message = too_small_message(rows, cols);
  const int length = static_cast<int>(message.size());
  // Centred when it fits on a line; otherwise it wraps from the top-left.
  const int row = length <= cols ? rows / 2 : 0;
  const int col = length <= cols ? (cols - length) / 2 : 0;
  wattrset(stdscr, A_NORMAL);
  mvwaddstr(stdscr, row, col, message.c_str());
  set_cursor_mode(0);
}

void NcursesTerminal::draw() {
  if (!active_ || too_small_) return;
  if (has_wanted_) {
    draw_changed_cells();
    shown_ = wanted_;
    shown_valid_ = true;
  }
  place_cursor();
  wrefresh(stdscr);
}

// Per row, the span from the first to the last changed cell goes out in one
// call; the library itself sends only what differs from the terminal.
void NcursesTerminal::draw_changed_cells() {
  std::array<cchar_t, ScreenBuffer::kCols> line{};
  for (int r = 0; r < ScreenBuffer::kRows; ++r) {
    int first = ScreenBuffer::kCols, last = -1;
    for (int c = 0; c < ScreenBuffer::kCols; ++c) {
      if (shown_valid_ && wanted_.at(r, c) == shown_.at(r, c)) continue;
      if (first == ScreenBuffer::kCols) first = c;
      last = c;
    }
    if (last < 0) continue;
    for (int c = first; c <= last; ++c) {
      const Cell& cell = wanted_.at(r, c);
      const Style& style = style_of(cell.attr);
      const wchar_t text[2] = {glyphs_[cell.ch], L'\0'};
      setcchar(&line[static_cast<std::size_t>(c - first)], text, static_cast<attr_t>(style.attrs), style.pair,
               nullptr);
    }
    // Unlike adding characters one by one, this never moves the cursor, so
    // the bottom-right cell can be written without the screen scrolling.
    mvwadd_wchnstr(stdscr, r, first, line.data(), last - first + 1);
  }
}

void NcursesTerminal::place_cursor() {
  if (has_wanted_ && wanted_.cursor_visible()) {
    wmove(stdscr, wanted_.cursor_row(), wanted_.cursor_col());
    set_cursor_mode(1);
  } else {
    // Where a terminal that cannot hide its cursor shows it least in the way.
    wmove(stdscr, ScreenBuffer::kRows - 1, ScreenBuffer::kCols - 1);
    set_cursor_mode(0);
  }
}

void NcursesTerminal::set_cursor_mode(int mode) {
  if (mode == cursor_mode_) return;
  curs_set(mode);
  cursor_mode_ = mode;
}

const NcursesTerminal::Style& NcursesTerminal::style_of(Attribute attr) {
  auto& cached = styles_[attr];
  if (!cached) cached = compute_style(attr);
  return *cached;
}

NcursesTerminal::Style NcursesTerminal::compute_style(Attribute attr) {
  const CellLook look = look_of(attr, colours_);
  attr_t attrs = A_NORMAL;
  if (look.bold) attrs |= A_BOLD;
  if (look.blink) attrs |= A_BLINK;
  if (look.reverse) attrs |= A_REVERSE;
  if (look.invisible) attrs |= A_INVIS;
  Style style;
  style.attrs = static_cast<std::uint32_t>(attrs);
  if (colour_) style.pair = colour_pair(look.fg, look.bg);
  return style;
}

// Pairs are handed out as colours are first used, so a terminal with few
// pairs still gets the ones this screen needs; when they run out the
// terminal's default pair is used.
short NcursesTerminal::colour_pair(int fg, int bg) {
  short& pair = pairs_[static_cast<std::size_t>(fg * 16 + bg)];
  if (pair != 0) return pair;
  if (next_pair_ < COLOR_PAIRS &&
      init_pair(next_pair_, static_cast<short>(fg), static_cast<short>(bg)) == OK)
    pair = next_pair_++;
  return pair;
}

}  // namespace intra
