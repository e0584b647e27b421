#pragma once
// The run-time settings fixed before anything else; the table engine, the
// forms and the date texts follow them for the whole run.
#include <string>

namespace intra {

struct RunSettings {
  bool exclusive_by_default = false;  // tables open shared unless a caller asks otherwise
  bool century = true;                // date texts carry four-digit years
  std::string date_format = "dd.mm.yyyy";
  bool deleted_hidden = true;         // deleted records are skipped by navigation
  bool scoreboard = false;            // the form reader writes nothing on row 0
  bool bell = false;
  bool menu_wrap = true;              // past the last menu item comes the first
  bool confirm = true;                // typing past a field's end does not leave it
  bool cancel_key = false;            // the break key does not stop the program
  bool insert_mode = true;            // form editing inserts
  bool cursor_visible = false;
};

// The settings of the run; MAIN applies the defaults above first of all.
RunSettings& run_settings();

}  // namespace intra
