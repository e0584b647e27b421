#include "screen/menu.h"

#include <gtest/gtest.h>

#include "key_script.h"
#include "screen/key_codes.h"
#include "test_screen.h"

namespace intra {
namespace {

using testing::keys;
using testing::TestScreen;

Menu printer_menu(Console& con) {
  Menu menu(con);
  menu.item(10, 30, "Drukarka", "raw output to the printer")
      .item(11, 30, "Plik", "output to a file")
      .item(12, 30, " ekran", "on the screen");
  return menu;
}

TEST(Menu, CursorKeysWrapAndEnterOrALetterChooses) {
  const struct {
    const char* name;
    int start;
    std::vector<int> script;
    int chosen;
  } cases[] = {
      {"Enter on the start", 2, keys({key::kEnter}), 2},
      {"Down", 1, keys({key::kDown, key::kEnter}), 2},
      {"Right", 1, keys({key::kRight, key::kRight, key::kEnter}), 3},
      {"Up past the first wraps", 1, keys({key::kUp, key::kEnter}), 3},
      {"Down past the last wraps", 3, keys({key::kDown, key::kEnter}), 1},
      {"Left", 3, keys({key::kLeft, key::kEnter}), 2},
      {"Home and End", 2, keys({key::kEnd, key::kHome, key::kEnter}), 1},
      {"End", 1, keys({key::kEnd, key::kEnter}), 3},
      {"first letter", 1, keys({"p"}), 2},
      {"first letter after blanks, either case", 1, keys({"E"}), 3},
      {"Esc", 2, keys({key::kDown, key::kEsc}), 0},
      {"odd keys ignored", 2, keys({key::F(2), "z", 300, -50, key::kPgDn, key::kEnter}), 2},
      {"start out of range", 7, keys({key::kEnter}), 1},
  };
  for (const auto& c : cases) {
    TestScreen t;
    Menu menu = printer_menu(t.con);
    t.terminal.type(c.script);
    EXPECT_EQ(menu.choose(c.start), c.chosen) << c.name;
    EXPECT_EQ(t.terminal.keys_left(), 0u) << c.name;
  }
}

TEST(Menu, CurrentItemIsEnhancedAndItsMessageShown) {
  TestScreen t;
  t.con.set_colour("W/B,N/W");
  Menu menu = printer_menu(t.con);
  menu.messages_at(22, true);
  std::vector<std::string> messages;
  std::vector<Attribute> first, second;
  t.con.bind_hot_key(key::kAltK, [&] {
    messages.push_back(t.row(22));
    first.push_back(t.attr(10, 30));
    second.push_back(t.attr(11, 30));
  });
  t.terminal.type(keys({key::kAltK, key::kDown, key::kAltK, key::kEnter}));
  EXPECT_EQ(menu.choose(1), 2);
  EXPECT_EQ(t.text(10, 30, 8), "Drukarka");
  EXPECT_EQ(first, (std::vector<Attribute>{t.con.colours().enhanced, t.con.colours().standard}));
  EXPECT_EQ(second, (std::vector<Attribute>{t.con.colours().standard, t.con.colours().enhanced}));
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].find("raw output to the printer"), std::size_t((80 - 25) / 2));
  EXPECT_EQ(messages[1].find("output to a file"), std::size_t((80 - 16) / 2));
  EXPECT_EQ(messages[1].find("raw"), std::string::npos);  // the longer message before it is gone
}

TEST(Menu, EmptyMenuReturnsZeroWithoutWaiting) {
  TestScreen t;
  Menu menu(t.con);
  EXPECT_EQ(menu.choose(1), 0);
}

}  // namespace
}  // namespace intra
