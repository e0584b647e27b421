#pragma once
// Opening a table in the current work area, shared or exclusively, with
// waiting while another workstation keeps it from us:
//
//   DBSELECTAREA(3);
//   if (!NET_USE("24\\05\\zo", "zo", false, 20)) { OKNO_("Plik zo niedostepny"); return false; }
//
// Each attempt opens the table (file name without extension) read-write
// under the alias, shared unless `exclusive`. A sharing conflict costs one
// try and one second of waiting (a key press ends the wait early), also
// after the last try: n tries are n attempts and about n seconds. 0 tries
// keeps trying until the table is free.
//
// An exclusive open shows "Otwieram plik <file>.dbf" in the message window
// while it waits, except for the scratch tables of a workstation (names
// beginning with ROB\) and the structure scratch files (STRUKT...). The
// screen under the window is put back before NET_USE returns.
//
// Any other failure of the open (a missing table, a damaged header) is not
// something waiting mends: the table engine has already put it to the run's
// error handler, and when that was answered Default NET_USE returns false
// at once. No message of its own either way: the caller reports the failure
// in its own words.
#include <string_view>

namespace intra {

bool NET_USE(std::string_view file, std::string_view alias, bool exclusive, int tries);

}  // namespace intra
