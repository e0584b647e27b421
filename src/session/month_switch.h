#pragma once
// The working-month switch of the start argument mm.yy, applied while the
// company record is locked: when the month directory yy\mm holds its stock
// table as.dbf, BMR := WWW, so every station that starts afterwards works
// in that month (running stations keep theirs). When it does not, the user
// is told twice ("<WWW> - to jakas pomylka!!!", one second each) and WWW
// becomes "".
//
// At a lone start one company is held back: when its name (NODB, upper
// case) holds "BRASKO" or "B R A S K O", M_DATA becomes the first day of
// that month, and a month before 01.06.2001 is refused ("Zmiana okresu
// zablokowana Z.O.", one second or a key) with BMR left as it was.
#include <string_view>

#include "main/date.h"

namespace intra {

// mm.yy: five characters, a point third, digits around it, month below 13.
bool is_month_switch(std::string_view www);

// The first day of the month mm.yy: 19yy when the year begins with "9",
// else 20yy; empty for month 00.
Date first_day_of_month_argument(std::string_view www);

// Applies WWW to the company record of the selected area (locked by the
// caller). `lone` selects the lone start's rule for that one company.
void apply_month_switch(bool lone);

}  // namespace intra
