#pragma once
// The yes/no question of the system, OKNO, answered "T" (yes) or "N" (no):
//
//   if (!OKNO("Usunac plik ?", "N")) return false;
//
// The question is shown in the message window (see message_window.h) with
// a small answer box below it, rows 18 to 20, columns 37 to 65, holding
// "      [T/N]  ? " and the default answer. T, t, N or n answers; Enter
// takes the default unless it is blank; every other key is ignored. The
// screen under the window, the cursor position and the colour setting are
// as they were afterwards; the cursor is left switched on.
#include <string_view>

#include "screen/console.h"

namespace intra {

// True when the answer is "T". The default is "T", "N" or a blank; Enter
// answers with it, yes when its first non-blank character is T or t.
bool OKNO(std::string_view question, std::string_view default_answer, Console& con = console());

// The same, but when `force` begins with "T" the caller already knows the
// answer: true at once, nothing shown and no key read.
bool OKNO(std::string_view question, std::string_view default_answer, std::string_view force,
          Console& con = console());

}  // namespace intra
