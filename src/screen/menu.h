#pragma once
// A light-bar menu: items at screen positions, one of them highlighted.
//
//   Menu menu;
//   menu.item(10, 30, "Drukarka").item(11, 30, "Plik", "output to a file");
//   const int chosen = menu.choose(1);   // 0 for Esc
//
// The current item is in the enhanced colour, the others standard; the
// current item's message, if any, is shown on the message row. Up and Left
// go to the previous item, Down and Right to the next, wrapping past either
// end; Home and End go to the first and the last. Enter returns the current
// item's number (from 1), the first letter of an item (either case)
// chooses that item and returns at once, Esc returns 0. Hot keys bound on
// the console run while the menu waits; other keys are ignored.
#include <string>
#include <vector>

#include "screen/console.h"

namespace intra {

struct MenuItem {
  int row = 0;
  int col = 0;
  std::string text;
  std::string message;  // shown on the message row while the item is current
};

class Menu {
 public:
  explicit Menu(Console& con = console());

  Menu& item(int row, int col, std::string text, std::string message = "");
  // Where item messages go: a row, centred or from column 0. Default: row 24, not centred.
  Menu& messages_at(int row, bool centred = false);

  // Shows the items and lets the user choose, starting on item `start`
  // (from 1; out of range starts on the first). Returns the item number,
  // 0 for Esc or when the menu has no items.
  int choose(int start = 1);

  std::size_t size() const { return items_.size(); }
  void clear() { items_.clear(); }

 private:
  void draw_item(std::size_t index, bool current);
  void show_message(std::size_t index);
  int item_for_letter(int key) const;  // 1-based, 0 when no item starts with it

  Console& con_;
  std::vector<MenuItem> items_;
  int message_row_ = 24;
  bool centred_ = false;
};

}  // namespace intra
