#pragma once
// The message box with buttons, for questions the user must answer before
// anything else goes on (the run-time error handler's "Quit / Retry /
// Default", printing troubles):
//
//   const int chosen = alert("Printer not ready;Check the paper", {"Retry", "Quit"});
//
// The message's lines (split on ';', long ones wrapped) are centred in a
// double-framed box in the middle of the screen, the buttons on the box's
// last inside row. Left/Right and Tab/Shift+Tab move between the buttons
// (wrapping), Home/End go to the first/last, Enter chooses the current one,
// the first letter of a button (either case) chooses that button and Esc
// returns 0; other keys are ignored. The result is the button's number from
// 1. The screen under the box, the cursor and the colour setting are as
// they were when it returns. Without choices the box has one "Ok" button.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "screen/console.h"

namespace intra {

inline constexpr std::size_t kAlertTextWidth = 60;

int alert(std::string_view message, const std::vector<std::string>& choices, Console& con = console());

// The message's lines as the box shows them: split on ';', each part
// wrapped at blanks to at most `width` columns (a longer word is cut).
std::vector<std::string> alert_lines(std::string_view message, std::size_t width = kAlertTextWidth);

}  // namespace intra
