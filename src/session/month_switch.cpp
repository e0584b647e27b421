#include "session/month_switch.h"

#include <string>

#include "main/ascii_case.h"
#include "main/public_variables.h"
#include "screen/console.h"
#include "screen/message_window.h"
#include "storage/file_x.h"
#include "storage/table_operations.h"

namespace intra {
namespace {

bool digit(char c) { return c >= '0' && c <= '9'; }

// The one company whose switches to months before its start are refused.
bool is_held_back_company(const std::string& name) {
  const std::string upper = upper_ascii(name);
  return upper.find("BRASKO") != std::string::npos || upper.find("B R A S K O") != std::string::npos;
}

const Date kEarliestHeldBackMonth = Date::from_ymd(2001, 6, 1);

}  // namespace

bool is_month_switch(std::string_view www) {
  if (www.size() != 5 || www[2] != '.') return false;
  if (!digit(www[0]) || !digit(www[1]) || !digit(www[3]) || !digit(www[4])) return false;
  return (www[0] - '0') * 10 + (www[1] - '0') < 13;
}

Date first_day_of_month_argument(std::string_view www) {
  const int month = (www[0] - '0') * 10 + (www[1] - '0');
  const int yy = (www[3] - '0') * 10 + (www[4] - '0');
  return Date::from_ymd(www[3] == '9' ? 1900 + yy : 2000 + yy, month, 1);
}

void apply_month_switch(bool lone) {
  PublicVariables& vars = publics();
  const std::string www = vars.text("WWW");
  if (!is_month_switch(www)) return;
  const std::string stock_table = www.substr(3, 2) + "\\" + www.substr(0, 2) + "\\as.dbf";
  if (!FILE_X(stock_table)) {
    OKNO_(www + " - to jakas pomylka!!!");
    OKNO_(www + " - to jakas pomylka!!!");
    vars.set("WWW", "");
    return;
  }
  if (lone && is_held_back_company(FIELDGET("NODB").text())) {
    const Date first_day = first_day_of_month_argument(www);
    vars.set("M_DATA", first_day);
    if (first_day < kEarliestHeldBackMonth) {
      OKNO_("Zmiana okresu zablokowana Z.O.", "...");
      console().inkey(1);
      return;
    }
  }
  FIELDPUT("BMR", www);
}

}  // namespace intra
