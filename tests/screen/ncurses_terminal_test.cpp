#include "screen/ncurses_terminal.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "screen/colour.h"

namespace intra {
namespace {

// Colour numbers of the terminal library.
constexpr int kBlack = 0, kRed = 1, kGreen = 2, kYellow = 3, kBlue = 4, kCyan = 6, kWhite = 7, kBright = 8;

CellLook colours(int fg, int bg) {
  CellLook look;
  look.fg = fg;
  look.bg = bg;
  return look;
}

TEST(TerminalLook, MapsPcAttributesForEachKindOfTerminal) {
  struct Case {
    const char* attribute;
    TerminalColours terminal;
    CellLook expected;
  };
  CellLook bold_white_on_blue = colours(kWhite, kBlue);
  bold_white_on_blue.bold = true;
  CellLook blinking_white_on_red = colours(kWhite, kRed);
  blinking_white_on_red.blink = true;
  CellLook mono_reverse = colours(kBlack, kWhite);
  mono_reverse.reverse = true;
  CellLook mono_bold = colours(kYellow, kBlue);
  mono_bold.bold = true;
  CellLook mono_hidden = colours(kBlack, kBlack);
  mono_hidden.invisible = true;
  CellLook mono_on_cyan = colours(kRed, kCyan);
  mono_on_cyan.reverse = true;

  const Case cases[] = {
      {"W+/B", TerminalColours::Sixteen, colours(kWhite + kBright, kBlue)},
      {"GR/N", TerminalColours::Sixteen, colours(kYellow, kBlack)},
      {"W*/R", TerminalColours::Sixteen, colours(kWhite, kRed + kBright)},
      {"B/G", TerminalColours::Sixteen, colours(kBlue, kGreen)},
      {"W+/B", TerminalColours::Eight, bold_white_on_blue},
      {"W*/R", TerminalColours::Eight, blinking_white_on_red},
      {"N/W", TerminalColours::Mono, mono_reverse},
      {"GR+/B", TerminalColours::Mono, mono_bold},
      {"N/N", TerminalColours::Mono, mono_hidden},
      {"R/BG", TerminalColours::Mono, mono_on_cyan},
  };
  for (const Case& c : cases) {
    Attribute attr = 0;
    ASSERT_TRUE(ColourSetting::parse_pair(c.attribute, attr)) << c.attribute;
    EXPECT_EQ(look_of(attr, c.terminal), c.expected) << c.attribute << " terminal " << int(c.terminal);
  }
}

TEST(NcursesTerminalDeathTest, RefusesToStartWithoutATerminal) {
  // In a child process, so the test's own terminal is never touched.
  EXPECT_EXIT(
      {
        if (std::freopen("/dev/null", "r", stdin) == nullptr) std::_Exit(2);
        VirtualClock clock;
        try {
          NcursesTerminal terminal(clock);
        } catch (const std::runtime_error& e) {
          std::fprintf(stderr, "%s\n", e.what());
          std::_Exit(0);
        }
        std::_Exit(1);
      },
      ::testing::ExitedWithCode(0), "wymaga terminala");
}

}  // namespace
}  // namespace intra
