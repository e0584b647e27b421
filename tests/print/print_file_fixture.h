#pragma once
// A run over a temporary directory (real files, virtual terminal and
// clock, the run's work areas) with helpers for print files: writing them
// from lines, opening them, and typing keys the way a person does, one
// after another, so a repaint never swallows the next key.
#include <algorithm>
#include <chrono>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "database/database_fixture.h"

namespace intra::testing {

struct PrintFileFixture : DatabaseFixture {
  // The lines, each ended by CR LF.
  static std::string lines_text(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
  }
  // "L1", "L2", ... each ended by CR LF.
  static std::vector<std::string> numbered(int count, const std::string& prefix = "L") {
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i) lines.push_back(prefix + std::to_string(i));
    return lines;
  }
  std::unique_ptr<File> open_read(const std::string& name) { return files.open(name, OpenMode::Read); }

  // Keys 100 ms apart from now on, as typed.
  void press(std::initializer_list<int> keys) { press(std::vector<int>(keys)); }
  void press(const std::vector<int>& keys) {
    for (int key : keys) {
      pressed_ = std::max(pressed_, clock.elapsed()) + std::chrono::milliseconds(100);
      terminal.type_after(pressed_ - clock.elapsed(), {key});
    }
  }
  // Typed text as keys, one after another.
  void press_text(const std::string& text) {
    std::vector<int> keys;
    for (unsigned char c : text) keys.push_back(c);
    press(keys);
  }
  std::string screen_row(int r) const { return con.screen().row_text(r); }
  Attribute attr(int r, int c) const { return con.screen().at(r, c).attr; }

 private:
  Clock::Duration pressed_{};
};

}  // namespace intra::testing
