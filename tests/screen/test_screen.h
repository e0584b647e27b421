#pragma once
// A console over a virtual terminal and a virtual clock, installed as the
// run's console and clock for the life of the fixture.
#include "main/clock.h"
#include "screen/console.h"
#include "screen/virtual_terminal.h"

namespace intra::testing {

struct TestScreen {
  VirtualClock clock;
  VirtualTerminal terminal{clock};
  Console con{terminal, clock};

  TestScreen() {
    set_run_clock(&clock);
    set_console(&con);
  }
  ~TestScreen() {
    set_console(nullptr);
    set_run_clock(nullptr);
  }
  std::string row(int r) const { return con.screen().row_text(r); }
  // Row text from `col`, `len` characters.
  std::string text(int r, int col, int len) const { return row(r).substr(col, len); }
  Attribute attr(int r, int c) const { return con.screen().at(r, c).attr; }
  double seconds() const { return static_cast<double>(clock.elapsed().count()) / 1000.0; }
};

}  // namespace intra::testing
